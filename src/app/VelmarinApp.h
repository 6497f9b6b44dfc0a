#pragma once
// The application object: answers the host's application messages, registers the commands and
// owns the four shared objects from initialisation to unload.

#include <array>

namespace velmarin::app {

// Results the host expects from a message handler.
inline constexpr int kRetOk = 0;
inline constexpr int kRetError = 3;

enum AppMessage : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kLastMessage = 15,  // codes above it are not the application's
};

class CVelmarinApp {
  public:
    constexpr CVelmarinApp() = default;

    // Runs the handler of `message`; codes outside 0..15 return 0 without running anything.
    int Dispatch(int message, void* packet, void* moduleInstance);

    int OnInitApp(void* packet);
    int OnUnloadApp(void* packet);
    int OnLoadDrawing(void* packet);
    // No script-language functions exist, so there is nothing to unregister or invoke.
    int OnUnloadDrawing(void* packet) { return kRetOk; }
    int OnInvokeFunction(void* packet) { return kRetOk; }
    // The null message and codes 6 to 15.
    int OnOtherMessage(void* packet) { return kRetOk; }
    void RegisterComponents() {}

    bool initialised() const { return initialised_; }
    void* instanceHandle() const { return instance_; }

  private:
    using Handler = int (CVelmarinApp::*)(void*);
    static const std::array<Handler, kLastMessage + 1> kMessageTable;

    void RegisterCommands();
    void RemoveCommands();
    void CreateSharedObjects();
    void DeleteSharedObjects();

    void* instance_ = nullptr;
    void* exportedInstance_ = nullptr;  // the module's exported handle, copied at initialisation
    bool unlock_ = true;                // lets the host unload the application on request
    bool mdiAware_ = true;              // works with several open drawings
    bool initialised_ = false;
};

// The module's one application object.
CVelmarinApp& TheApp();

// The module entry's work: a HostLink packet with message 1 installs the emulator's host and
// platform before the application sees the message.
int HandleEntryMessage(int message, void* packet, void* moduleInstance);

}  // namespace velmarin::app
