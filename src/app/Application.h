#pragma once
// The application object: answers the host's application messages, registers the commands and
// owns the services the commands use, from initialisation to unload. It is the one object the
// host's entry, the command trampolines and the timer procedure reach.

#include <array>
#include <optional>

#include "app/AppMessages.h"
#include "app/ExceptionBarrier.h"
#include "bridge/VordClient.h"
#include "commands/SaveContext.h"
#include "drawing/Drawings.h"
#include "ops/OperationScriptRunner.h"

namespace velmarin::app {

// The services of an initialised application. The bridge reads the client folder from the
// registry when it is made, so they exist only between initialisation and unload.
struct Services {
    Services();

    VordClient vord;
    Drawings drawings;
    OperationScriptRunner scripts;
    commands::SaveContext save;
};

class Application {
  public:
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

    // Runs `work` with the services inside the exception barrier; nothing before initialisation.
    template <typename Work>
    void Run(Work&& work) {
        if (!services_) return;
        Guarded([&] { work(*services_); });
    }

    bool initialised() const { return services_.has_value(); }
    void* instanceHandle() const { return instance_; }
    // Null before initialisation and after unload.
    Services* services() { return services_ ? &*services_ : nullptr; }

  private:
    using Handler = int (Application::*)(void*);
    static const std::array<Handler, kLastMessage + 1> kMessageTable;

    void RegisterCommands();
    void RemoveCommands();

    void* instance_ = nullptr;
    void* exportedInstance_ = nullptr;  // the module's exported handle, copied at initialisation
    bool unlock_ = true;                // lets the host unload the application on request
    bool mdiAware_ = true;              // works with several open drawings
    std::optional<Services> services_;
};

// The module's one application object.
Application& TheApplication();

// The module entry's work: a HostLink packet with message 1 installs the emulator's host and
// platform before the application sees the message. Nothing thrown gets past it.
int HandleEntryMessage(int message, void* packet, void* moduleInstance);

}  // namespace velmarin::app
