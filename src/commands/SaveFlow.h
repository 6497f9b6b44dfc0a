#pragma once
// Steps the save and save-as commands share.

#include <string>

#include "host/Host.h"

namespace velmarin {
class Drawings;
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

// The tree file of a save describing `saved`, the drawing the command saves: the client's script
// may have opened another drawing and made it current, so `saved` is made current for the
// reading and the script's drawing is current again afterwards. A saved drawing the script closed
// leaves the current one to describe. The file's path, or "" when it could not be written.
std::string WriteSavedDrawingTreeFile(const VordClient& vord, Drawings& drawings,
                                      host::Document* saved);

// Finds the parts list among the selected entities and writes its rows to the detail file at
// `bomPath`, ending with the completion message; nothing is written when the table has no cells.
void ExtractDetailFile(const host::SelectionSet& selection, const std::string& bomPath);

// Shows `message` followed by the path that could not be used.
void ShowPathFailure(const char* message, const std::string& path);

}  // namespace velmarin::commands
