#pragma once
// Steps the save and save-as commands share.

#include <string>

namespace velmarin {
class VordClient;
}  // namespace velmarin

namespace velmarin::commands {

// temp\Operate.ini in the plug-in's own folder: the script the client leaves for a save.
std::string OperateScriptPath();

// A path the host cannot be asked to write: no such file and no drive letter. A drawing that was
// never saved has such a name, and so has an empty or relative answer from the client.
bool IsUnfiledPath(const std::string& path);

// Hands the written file to the client; a refused commit is withdrawn with a cancel.
void CommitOrCancel(VordClient& vord, const std::string& path, const std::string& return2,
                    const std::string& return3);

// Shows `message` followed by the path that could not be used.
void ShowPathFailure(const char* message, const std::string& path);

}  // namespace velmarin::commands
