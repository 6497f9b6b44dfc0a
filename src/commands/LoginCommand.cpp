#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "util/Shared.h"

namespace velmarin::commands {

// Logs in again whatever the current state: the flag takes this latest outcome, and whatever the
// client shows for it is all the user sees.
void loginmethod() {
    if (TdaVORD* vord = Shared().vord) vord->Login();
}

}  // namespace velmarin::commands
