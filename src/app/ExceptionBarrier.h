#pragma once
// No C++ exception may reach the host: its entry, every command and the timer procedure run their
// work through Guarded(), which catches whatever escapes (std::bad_alloc included), shows one
// message that says the command failed and why, and returns to the editor. The files stay as
// they were: every file the plug-in writes replaces the old one only once it is complete.

#include <exception>
#include <new>

namespace velmarin::app {

// Shows the failure message with `reason` (GBK, or the exception's own text); never throws.
void ReportEscapedException(const char* reason) noexcept;
// The reason shown for the exception being handled.
const char* ReasonOfCurrentException() noexcept;

// Runs `work`; false when something escaped it.
template <typename Work>
bool Guarded(Work&& work) noexcept {
    try {
        work();
        return true;
    } catch (...) {
        ReportEscapedException(ReasonOfCurrentException());
        return false;
    }
}

}  // namespace velmarin::app
