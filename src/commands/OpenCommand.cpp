#include <string>

#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "ops/TAutoVord.h"
#include "util/Shared.h"

namespace velmarin::commands {

// The client chooses the drawings in its own dialog and answers with the path of a script that
// fetches and opens them. A cancel in the client leaves no path, and nothing happens.
void openmethod() {
    try {
        SharedObjects& shared = Shared();
        if (shared.vord == nullptr || shared.autoVord == nullptr) return;
        if (shared.vord->EnsureLoggedIn() == 0) return;
        const std::string scriptPath = shared.vord->GetOpenScript();
        if (scriptPath.empty()) return;
        shared.autoVord->RunScript(scriptPath);
    } catch (...) {
        // The host calls this handler directly: nothing may unwind into it.
    }
}

}  // namespace velmarin::commands
