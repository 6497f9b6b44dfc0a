#pragma once
// A complete world for tests that run the plug-in's logic in process: a fresh temporary folder
// mapped as drive D, the emulated host, the posix platform under the fault shim (all faults off)
// under the emulated user interface (a recording notifier and a simulated clock), installed as
// the system's platform; a registry whose "AppPath" points at D:\VORD (with the client double
// copied there as VORDDll.dll and an empty VORD.ini), and the application's services.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "host/sim/SimHost.h"
#include "platform/RecordingNotifier.h"
#include "platform/SimulatedClock.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/shims/EmulatedUserInterface.h"
#include "platform/shims/FaultPlatform.h"
#include "support/TempDrive.h"

namespace velmarin::testing {

struct WorldOptions {
    bool installClient = true;       // copy the client double into D:\VORD
    bool createExchangeFile = true;  // an empty D:\VORD\VORD.ini
    bool registerClient = true;      // "AppPath" = D:\VORD
    std::string appPath = "D:\\VORD";
};

class World {
  public:
    explicit World(WorldOptions options = {});
    ~World();

    // The POSIX path of a Windows path on the temporary drive.
    std::string resolve(const std::string& windowsPath) const;
    std::string root() const { return drive_.root(); }
    // Writes a file (bytes as given), creating its folders.
    void writeFile(const std::string& windowsPath, const std::string& bytes) const;
    std::string readFile(const std::string& windowsPath) const;
    bool exists(const std::string& windowsPath) const;

    // The client double's behaviour file and call log in D:\VORD.
    void setClientBehaviour(const std::string& iniText) const;
    std::vector<std::string> clientCalls() const;  // lines of client-calls.log
    // A login through the client double that it accepts (logIn) or refuses (logOut), as the
    // services' client makes it. The client folder is put back as it was afterwards (exchange
    // file, behaviour, call log, call counts), so that a test sees only its own calls.
    void logIn() { answerLogin(true); }
    void logOut() { answerLogin(false); }

    // Creates the services (as the application does at initialisation, without the login).
    void createServices();
    void destroyServices();

    // Message boxes shown so far, as text.
    std::vector<std::string> messages() const;
    // The file names of the documents open in the host, in the host's order.
    std::vector<std::string> openDocuments();

    host::sim::SimHost& host() { return *host_; }
    // The posix platform at the bottom of the stack.
    platform::posix::PosixPlatform& platform() { return *platform_; }
    platform::shims::FaultPlatform& faultPlatform() { return *faultPlatform_; }
    // The platform the system runs on: the top of the stack, as installed.
    platform::Platform& systemPlatform() { return *userInterface_; }
    platform::shims::Faults& faults() { return faultPlatform_->faults(); }
    platform::RecordingNotifier& notifier() { return notifier_; }
    platform::SimulatedClock& clock() { return clock_; }
    // The batch command's timer procedure for this world: it runs the batch with this world's
    // services, as the application's procedure does with its own.
    platform::TimerProc batchTimer();

    app::Services& services() { return *services_; }
    VordClient& vord() { return services_->vord; }
    OperationScriptRunner& scripts() { return services_->scripts; }
    Drawings& drawings() { return services_->drawings; }
    commands::SaveContext& save() { return services_->save; }

  private:
    void answerLogin(bool accepted);

    TempDrive drive_;  // declared first: removed after everything that uses it
    platform::RecordingNotifier notifier_;
    platform::SimulatedClock clock_;
    std::unique_ptr<platform::posix::PosixPlatform> platform_;
    std::unique_ptr<platform::shims::FaultPlatform> faultPlatform_;
    std::unique_ptr<platform::shims::EmulatedUserInterface> userInterface_;
    std::unique_ptr<host::sim::SimHost> host_;
    std::optional<app::Services> services_;
};

// The folder of the built binaries (Velmarin.arx, velmarin-host, VORDDll.dll).
std::string BinaryDir();

}  // namespace velmarin::testing
