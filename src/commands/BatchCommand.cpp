#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"

namespace velmarin::commands {
namespace {

constexpr unsigned kBatchDelayMs = 1000;

}  // namespace

void VORD_batchchange(VordClient& vord, platform::TimerProc batchRun) {
    if (!vord.EnsureLoggedIn()) {
        util::ShowMessage(texts::kLoginBeforeBatch);
        return;
    }
    platform::current().setTimer(kBatchTimerId, kBatchDelayMs, batchRun);
}

}  // namespace velmarin::commands
