#pragma once
// The emulated editor's user interface over a real platform: message boxes and the file dialog go
// to the emulator's notifier, timers to its simulated clock; everything else reaches the platform
// underneath. The emulator program and the system tests install it over the native platform.

#include "platform/SimulatedClock.h"
#include "platform/shims/ForwardingPlatform.h"

namespace velmarin::platform::shims {

class EmulatedUserInterface : public ForwardingPlatform {
  public:
    EmulatedUserInterface(Platform& inner, Notifier& notifier, SimulatedClock& clock)
        : ForwardingPlatform(inner), notifier_(notifier), clock_(clock) {}

    Notifier& notifier() override { return notifier_; }
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) override {
        return clock_.setTimer(id, milliseconds, proc);
    }
    // Windowless timers only, as the system's own: no window exists in the emulated editor.
    bool killTimer(void* window, std::uintptr_t id) override {
        return window == nullptr && clock_.killTimer(id);
    }

  private:
    Notifier& notifier_;
    SimulatedClock& clock_;
};

}  // namespace velmarin::platform::shims
