#include "commands/SaveFlow.h"

#include "bridge/VordClient.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin::commands {

std::string OperateScriptPath() {
    return text::Trim(util::ModuleFolder(texts::kModuleFileName) + "temp\\Operate.ini");
}

bool IsUnfiledPath(const std::string& path) {
    return !util::FileExists(path) && util::DriveOf(path).empty();
}

void CommitOrCancel(VordClient& vord, const std::string& path, const std::string& return2,
                    const std::string& return3) {
    if (vord.CommitSave(path, return2, return3) != 1) vord.CancelSave();
}

void ShowPathFailure(const char* message, const std::string& path) {
    util::ShowMessage(message + path);
}

}  // namespace velmarin::commands
