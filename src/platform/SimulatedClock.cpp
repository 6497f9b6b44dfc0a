#include "platform/SimulatedClock.h"

#include <algorithm>

namespace velmarin::platform {
namespace {

// SetTimer's bounds (USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM): an interval of 0 would
// otherwise fire without end at one instant.
constexpr unsigned kMinimumInterval = 10;
constexpr unsigned kMaximumInterval = 0x7FFFFFFF;
// Windowless timers get ids from 0x7FFF downwards, as the system hands them out, so that a
// caller's own small id (the batch command passes 1) never names a timer it was not given.
constexpr std::uintptr_t kWindowlessIds = 0x7FFF;

}  // namespace

std::uintptr_t SimulatedClock::setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) {
    if (proc == nullptr) return 0;
    const unsigned interval = std::clamp(milliseconds, kMinimumInterval, kMaximumInterval);
    if (id == 0 || timers_.count(id) == 0) {
        if (timers_.size() >= kWindowlessIds) return 0;
        do {
            id = nextId_;
            nextId_ = nextId_ > 1 ? nextId_ - 1 : kWindowlessIds;
        } while (timers_.count(id) != 0);
    }
    Timer& timer = timers_[id];
    timer.interval = interval;
    timer.due = now_ + interval;
    timer.armed = ++armings_;
    timer.proc = proc;
    return id;
}

bool SimulatedClock::killTimer(std::uintptr_t id) { return timers_.erase(id) != 0; }

bool SimulatedClock::fireNext(std::uint64_t until) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due > until) continue;
        if (next == timers_.end() || it->second.due < next->second.due ||
            (it->second.due == next->second.due && it->second.armed < next->second.armed)) {
            next = it;
        }
    }
    if (next == timers_.end()) return false;
    const std::uintptr_t id = next->first;
    Timer& timer = next->second;
    now_ = std::max(now_, timer.due);
    const TimerProc proc = timer.proc;
    // Re-armed before the call, so that the procedure may kill or reset its own timer.
    timer.due = now_ + timer.interval;
    timer.armed = ++armings_;
    proc(nullptr, 0x0113 /* WM_TIMER */, id, static_cast<std::uint32_t>(now_));
    return true;
}

void SimulatedClock::advance(std::uint64_t milliseconds) {
    const std::uint64_t until = now_ + milliseconds;
    while (fireNext(until)) {
    }
    now_ = std::max(now_, until);
}

void SimulatedClock::runUntilIdle(std::size_t limit) {
    std::size_t fired = 0;
    while (!timers_.empty()) {
        if (fired == limit) {
            timers_.clear();  // a timer that never stops would keep the loop running forever
            return;
        }
        std::uint64_t due = timers_.begin()->second.due;
        for (const auto& [id, timer] : timers_) due = std::min(due, timer.due);
        fireNext(due);
        ++fired;
    }
}

}  // namespace velmarin::platform
