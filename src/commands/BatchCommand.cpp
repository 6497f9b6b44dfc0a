#include <cstdint>

#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "platform/Platform.h"
#include "tree/BatchRun.h"
#include "util/FixedTexts.h"
#include "util/Shared.h"

namespace velmarin::commands {
namespace {

constexpr std::uintptr_t kBatchTimerId = 1;
constexpr unsigned kBatchDelayMs = 1000;

// The batch opens, activates and closes documents, which the host allows only outside a command;
// the timer lets the command end first and the message loop start the run.
void BatchTimerProc(void* window, unsigned /*message*/, std::uintptr_t timerId,
                    std::uint32_t /*time*/) {
    // A windowless timer repeats until killed: one invocation of the command, one run.
    platform::current().killTimer(window, timerId);
    BatchRun();
}

}  // namespace

void VORD_batchchange() {
    TdaVORD* vord = Shared().vord;
    if (vord == nullptr) return;
    if (vord->EnsureLoggedIn() == 0) {
        platform::current().notifier().messageBox(texts::kLoginBeforeBatch, "",
                                                  platform::MessageIcon::None);
        return;
    }
    platform::current().setTimer(kBatchTimerId, kBatchDelayMs, &BatchTimerProc);
}

}  // namespace velmarin::commands
