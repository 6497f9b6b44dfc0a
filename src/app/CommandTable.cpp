#include "app/CommandTable.h"

#include "app/Application.h"
#include "commands/Commands.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"

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
    return {texts::kCommandGroup, globalName, localName, kCommandFlags, handler, nullptr, -1};
}

constexpr std::array<CommandEntry, 7> kTable = {{
    Entry(texts::kOpenCommandGlobal, texts::kOpenCommand, &OpenMethod),
    Entry(texts::kSaveCommandGlobal, texts::kSaveCommand, &SaveMethod),
    Entry(texts::kLoginCommandGlobal, texts::kLoginCommand, &LoginMethod),
    Entry(texts::kSaveAsCommandGlobal, texts::kSaveAsCommand, &SaveAsMethod),
    Entry(texts::kBatchCommandGlobal, texts::kBatchCommand, &BatchChange),
    Entry(texts::kSaveBomCommandGlobal, texts::kSaveBomCommand, &SaveBom),
    Entry(texts::kPrintCommandGlobal, texts::kPrintCommand, &PrintMethod),
}};

}  // namespace

const std::array<CommandEntry, 7>& CommandTable() { return kTable; }

}  // namespace velmarin::app
