#include "bridge/VordClient.h"
#include "commands/Commands.h"

namespace velmarin::commands {

// Logs in again whatever the current state: the flag takes this latest outcome, and whatever the
// client shows for it is all the user sees.
void loginmethod(VordClient& vord) { vord.Login(); }

}  // namespace velmarin::commands
