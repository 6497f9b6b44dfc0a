#include <string>

#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "commands/SaveFlow.h"
#include "drawing/TdaAutocad.h"
#include "host/Host.h"
#include "ops/TAutoVord.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/Shared.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin::commands {

// The client chooses the new path; the script runs and the tree file is written before anything
// is saved, and the new file is committed only once the host has written it.
void saveasmethod() {
    SharedObjects& shared = Shared();
    if (shared.func == nullptr || shared.vord == nullptr || shared.autoVord == nullptr ||
        shared.acad == nullptr) {
        return;
    }
    TdaFunc& func = *shared.func;
    TdaVORD& vord = *shared.vord;
    if (vord.EnsureLoggedIn() == 0) return;

    // The drawing the user asked to save, held on to: the script may open others and make them
    // current before the write.
    host::Document* document = host::current().documentManager().curDocument();
    if (document == nullptr || document->database() == nullptr) return;

    const std::string scriptPath = OperateScriptPath(func);
    const std::string currentPath = document->fileName();
    if (vord.CheckSaveRight(currentPath) == 0) {
        platform::current().notifier().messageBox(texts::kNoRightToSave, "",
                                                  platform::MessageIcon::None);
        return;
    }
    shared.autoVord->RunScript(scriptPath);
    const std::string treePath = shared.acad->WriteSaveTreeFile();
    if (func.FileExists(treePath) == 0) return;

    SaveContext& save = SaveState();
    const std::string newPath = shared.autoVord->RequestSavePath(
        text::FileNamePart(currentPath), save.SaveReturn2, save.SaveReturn3);
    if (IsUnfiledPath(func, newPath)) {
        ShowPathFailure(texts::kSaveAsFailed, newPath);
        return;
    }
    func.CreateFolders(newPath, 3);
    if (document->database()->saveAs(newPath) != host::eOk) {
        vord.CancelSave();
        ShowPathFailure(texts::kSaveAsFailed, newPath);
        return;
    }
    CommitOrCancel(vord, newPath, save.SaveReturn2, save.SaveReturn3);
}

}  // namespace velmarin::commands
