#include "app/CommandTable.h"

#include "app/Application.h"
#include "commands/Commands.h"
#include "platform/Platform.h"

namespace velmarin::app {
namespace {

// The host calls a command through a plain function: each trampoline hands the command the
// services it needs, inside the exception barrier.
void OpenMethod() {
    TheApplication().Run([](Services& s) { commands::openmethod(s.vord, s.scripts); });
}
void SaveMethod() {
    TheApplication().Run(
        [](Services& s) { commands::savemethod(s.vord, s.scripts, s.drawings, s.save); });
}
void LoginMethod() {
    TheApplication().Run([](Services& s) { commands::loginmethod(s.vord); });
}
void SaveAsMethod() {
    TheApplication().Run(
        [](Services& s) { commands::saveasmethod(s.vord, s.scripts, s.drawings, s.save); });
}
void BatchTimerProc(void* window, unsigned /*message*/, std::uintptr_t timerId,
                    std::uint32_t /*time*/) {
    // A windowless timer repeats until killed: one invocation of the command, one run.
    Guarded([&] { platform::current().killTimer(window, timerId); });
    TheApplication().Run([](Services& s) { commands::BatchRun(s.vord, s.drawings); });
}
void BatchChange() {
    TheApplication().Run([](Services& s) { commands::VORD_batchchange(s.vord, &BatchTimerProc); });
}
void SaveBom() {
    TheApplication().Run([](Services& s) { commands::savebom(s.vord); });
}
void PrintMethod() {
    TheApplication().Run([](Services& s) { commands::PrintMethod(s.vord); });
}

constexpr CommandEntry Entry(const char* globalName, const char* localName,
                             host::CommandFunction handler) {
    return {kCommandGroup, globalName, localName, kCommandFlags, handler, nullptr, -1};
}

constexpr std::array<CommandEntry, 7> kTable = {{
    Entry("_openmethod", "openmethod", &OpenMethod),
    Entry("_savemethod", "savemethod", &SaveMethod),
    Entry("_loginmethod", "loginmethod", &LoginMethod),
    Entry("_saveasmethod", "saveasmethod", &SaveAsMethod),
    Entry("_VORD_batchchange", "VORD_batchchange", &BatchChange),
    Entry("_savebom", "savebom", &SaveBom),
    Entry("_PrintMethod", "PrintMethod", &PrintMethod),
}};

}  // namespace

const std::array<CommandEntry, 7>& CommandTable() { return kTable; }

}  // namespace velmarin::app
