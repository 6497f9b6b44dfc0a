#include <string>

#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "util/Messages.h"

namespace velmarin::commands {

// Printing happens in the client; the plug-in only shows what the client answers, even an empty
// answer, so that the user always sees that the command ran.
void PrintMethod(VordClient& vord) {
    if (!vord.EnsureLoggedIn()) return;
    util::ShowMessage(vord.GetPrintText());
}

}  // namespace velmarin::commands
