#pragma once
// The operating-system layer the emulated editor runs on: on Linux the posix platform with the
// drives and registry file of the command line, on Windows the system itself, each under the
// emulated user interface shim, so that message boxes, dialogs and timers go to the emulator's
// notifier and clock.

#include <map>
#include <memory>
#include <string>

#include "host/sim/SimHost.h"
#include "platform/Platform.h"
#include "platform/SimulatedClock.h"

namespace velmarin::emulator {

struct PlatformSetup {
    std::map<char, std::string> drives;
    std::string registryFile;
    std::string hostExecutable;
    std::string modulePath;  // the loaded plug-in, as the file system names it
};

struct NativePlatform {
    std::unique_ptr<platform::Platform> system;  // the platform the shim wraps
    std::unique_ptr<platform::Platform> platform;
    host::sim::SimHost::PathResolver resolve;
    // On Windows: the drive letters mapped for the session, undone when released.
    std::shared_ptr<void> systemSetup;
    std::string error;  // a drive or registry file that could not be set up
};

NativePlatform MakeNativePlatform(const PlatformSetup& setup, platform::Notifier& notifier,
                                  platform::SimulatedClock& clock);

}  // namespace velmarin::emulator
