#include <string>

#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "commands/SaveContext.h"
#include "commands/SaveFlow.h"
#include "drawing/Drawings.h"
#include "host/Host.h"
#include "ops/OperationScriptRunner.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin::commands {

// The client chooses the new path; the script runs and the tree file is written before anything
// is saved, and the new file is committed only once the host has written it.
void saveasmethod(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                  SaveContext& save) {
    if (!vord.EnsureLoggedIn()) return;

    // The drawing the user asked to save, held on to: the script may open others and make them
    // current before the write.
    host::Document* document = host::current().documentManager().curDocument();
    if (document == nullptr || document->database() == nullptr) return;

    const std::string scriptPath = OperateScriptPath();
    const std::string currentPath = document->fileName();
    if (!vord.CheckSaveRight(currentPath)) {
        util::ShowMessage(texts::kNoRightToSave);
        return;
    }
    scripts.RunScript(scriptPath);
    const std::string treePath = WriteSavedDrawingTreeFile(vord, drawings, document);
    if (!util::FileExists(treePath)) return;

    const std::string newPath = scripts.RequestSavePath(text::FileNamePart(currentPath),
                                                        save.SaveReturn2, save.SaveReturn3);
    if (IsUnfiledPath(newPath)) {
        ShowPathFailure(texts::kSaveAsFailed, newPath);
        return;
    }
    util::CreateFolders(newPath, 3);
    if (document->database()->saveAs(newPath) != host::eOk) {
        vord.CancelSave();
        ShowPathFailure(texts::kSaveAsFailed, newPath);
        return;
    }
    CommitOrCancel(vord, newPath, save.SaveReturn2, save.SaveReturn3);
}

}  // namespace velmarin::commands
