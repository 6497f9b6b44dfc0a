#pragma once
// A complete world for tests that run the plug-in's logic in process: a fresh temporary folder
// mapped as drive D, the emulated host, the posix platform with a recording notifier and a
// simulated clock, a registry whose "AppPath" points at D:\VORD (with the client double copied
// there as VORDDll.dll and an empty VORD.ini), and the four shared objects.

#include <memory>
#include <string>
#include <vector>

#include "host/sim/SimHost.h"
#include "platform/RecordingNotifier.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/SimulatedClock.h"

namespace velmarin {
class TdaFunc;
class TdaVORD;
class TAutoVord;
class TdaAutocad;
}  // namespace velmarin

namespace velmarin::testing {

struct WorldOptions {
    bool installClient = true;      // copy the client double into D:\VORD
    bool createExchangeFile = true; // an empty D:\VORD\VORD.ini
    bool registerClient = true;     // "AppPath" = D:\VORD
    std::string appPath = "D:\\VORD";
};

class World {
public:
    explicit World(WorldOptions options = {});
    ~World();

    // The POSIX path of a Windows path on the temporary drive.
    std::string resolve(const std::string& windowsPath) const;
    std::string root() const { return root_; }
    // Writes a file (bytes as given), creating its folders.
    void writeFile(const std::string& windowsPath, const std::string& bytes) const;
    std::string readFile(const std::string& windowsPath) const;
    bool exists(const std::string& windowsPath) const;

    // The client double's behaviour file and call log in D:\VORD.
    void setClientBehaviour(const std::string& iniText) const;
    std::vector<std::string> clientCalls() const;  // lines of client-calls.log

    // Creates the shared objects (as the application does at initialisation, without the login).
    void createSharedObjects();
    void destroySharedObjects();

    // Message boxes shown so far, as text.
    std::vector<std::string> messages() const;

    host::sim::SimHost& host() { return *host_; }
    platform::posix::PosixPlatform& platform() { return *platform_; }
    platform::RecordingNotifier& notifier() { return notifier_; }
    platform::SimulatedClock& clock() { return clock_; }
    TdaFunc& func();
    TdaVORD& vord();
    TAutoVord& autoVord();
    TdaAutocad& acad();

private:
    std::string root_;
    platform::RecordingNotifier notifier_;
    platform::SimulatedClock clock_;
    std::unique_ptr<platform::posix::PosixPlatform> platform_;
    std::unique_ptr<host::sim::SimHost> host_;
    bool ownsShared_ = false;
};

// The folder of the built binaries (Velmarin.arx, velmarin-host, VORDDll.dll).
std::string BinaryDir();

}  // namespace velmarin::testing
