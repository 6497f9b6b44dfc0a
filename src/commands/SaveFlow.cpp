#include "commands/SaveFlow.h"

#include "bridge/TdaVORD.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/TdaFunc.h"

namespace velmarin::commands {

std::string OperateScriptPath(const TdaFunc& func) {
    return func.TrimText(func.GetModuleFolder(texts::kModuleFileName) + "temp\\Operate.ini");
}

bool IsUnfiledPath(const TdaFunc& func, const std::string& path) {
    return func.FileExists(path) == 0 && func.GetDrive(path).empty();
}

void CommitOrCancel(TdaVORD& vord, const std::string& path, const std::string& return2,
                    const std::string& return3) {
    if (vord.CommitSave(path, return2, return3) != 1) vord.CancelSave();
}

void ShowPathFailure(const char* message, const std::string& path) {
    platform::current().notifier().messageBox(message + path, "", platform::MessageIcon::None);
}

}  // namespace velmarin::commands
