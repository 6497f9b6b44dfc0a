#pragma once
// The emulated CAD editor with the plug-in loaded: the host, the platform, the simulated clock
// and the module, and the application messages the editor sends the module.

#include <memory>
#include <string>
#include <vector>

#include "Console.h"
#include "Options.h"
#include "app/HostLink.h"
#include "host/sim/SimHost.h"
#include "platform/RecordingNotifier.h"
#include "platform/SimulatedClock.h"

namespace velmarin::emulator {

class Session {
  public:
    // `modulePath` is the plug-in to load; `hostExecutable` this program's file.
    Session(const HostOptions& options, const std::string& modulePath,
            const std::string& hostExecutable, Console& console);
    ~Session();

    // Loads the module and sends it the initialisation message. On failure `error` names the
    // problem and nothing has been sent.
    bool loadModule(std::string& error);
    // The editor's start: the drawings given on the command line, or a new Drawing1.dwg.
    // Returns the number of drawings that could not be opened (each reported).
    int openStartDrawings(const std::vector<std::string>& drawings);
    // Runs the message loop until no timer is pending, then unloads the module.
    void finish();

    host::sim::SimHost& host() { return *host_; }
    platform::Platform& platform() { return *platform_; }
    platform::RecordingNotifier& notifier() { return notifier_; }
    platform::SimulatedClock& clock() { return clock_; }

  private:
    int send(int message, void* packet);

    void documentOpened(host::Document& document);

    Console& console_;
    std::string modulePath_;
    std::shared_ptr<void> systemSetup_;  // released last: the drives outlive the module's work
    std::string setupError_;
    platform::RecordingNotifier notifier_;
    platform::SimulatedClock clock_;
    std::unique_ptr<platform::Platform> system_;  // on Windows: the platform under platform_
    std::unique_ptr<platform::Platform> platform_;
    std::unique_ptr<host::sim::SimHost> host_;
    HostLink link_;
    ZcrxEntryPointProc entry_ = nullptr;
};

}  // namespace velmarin::emulator
