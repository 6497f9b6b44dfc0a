#include <string>

#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "ops/OperationScriptRunner.h"

namespace velmarin::commands {

// The client chooses the drawings in its own dialog and answers with the path of a script that
// fetches and opens them. A cancel in the client leaves no path, and nothing happens.
void openmethod(VordClient& vord, OperationScriptRunner& scripts) {
    if (!vord.EnsureLoggedIn()) return;
    const std::string scriptPath = vord.GetOpenScript();
    if (scriptPath.empty()) return;
    scripts.RunScript(scriptPath);
}

}  // namespace velmarin::commands
