#include <string>

#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "platform/Platform.h"
#include "util/Shared.h"

namespace velmarin::commands {

// Printing happens in the client; the plug-in only shows what the client answers, even an empty
// answer, so that the user always sees that the command ran.
void PrintMethod() {
    TdaVORD* vord = Shared().vord;
    if (vord == nullptr) return;
    if (vord->EnsureLoggedIn() == 0) return;
    const std::string answer = vord->GetPrintText();
    platform::current().notifier().messageBox(answer, "", platform::MessageIcon::None);
}

}  // namespace velmarin::commands
