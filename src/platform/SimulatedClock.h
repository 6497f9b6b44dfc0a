#pragma once
// The message loop of the emulated host: timers set through the platform fire when the host's
// simulated clock passes their due time. Nothing waits for real time.

#include <cstdint>
#include <map>

#include "platform/Platform.h"

namespace velmarin::platform {

class SimulatedClock {
  public:
    // SetTimer without a window: an id that names a running timer re-arms that timer, any other
    // id is ignored and a new one is handed out. Timers repeat until they are killed.
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc);
    bool killTimer(std::uintptr_t id);

    // Advance the clock by `milliseconds`, firing every timer that falls due, in due order.
    void advance(std::uint64_t milliseconds);
    // Run the message loop until no timer is pending (a timer that keeps re-arming itself is
    // stopped after `limit` firings).
    void runUntilIdle(std::size_t limit = 100000);
    bool pending() const { return !timers_.empty(); }
    std::uint64_t now() const { return now_; }

  private:
    struct Timer {
        unsigned interval = 0;
        std::uint64_t due = 0;
        std::uint64_t armed = 0;  // orders timers that fall due together: earlier armed first
        TimerProc proc = nullptr;
    };
    bool fireNext(std::uint64_t until);

    std::map<std::uintptr_t, Timer> timers_;
    std::uintptr_t nextId_ = 0x7FFF;  // windowless timer ids are handed out counting down
    std::uint64_t now_ = 0;
    std::uint64_t armings_ = 0;
};

}  // namespace velmarin::platform
