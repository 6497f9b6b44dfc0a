#include <string>

#include "bom/TableSearch.h"
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
namespace {

// A drawing that has never been saved: the client names its file, the drawing is written there
// and the new file is committed. Nothing else of the filed-drawing flow runs.
void SaveNewDrawing(VordClient& vord, OperationScriptRunner& scripts, SaveContext& save,
                    host::Document& document) {
    save.SavePath = scripts.RequestSavePath("", save.SaveReturn2, save.SaveReturn3);
    if (IsUnfiledPath(save.SavePath)) {
        ShowPathFailure(texts::kSaveFailed, save.SavePath);
        return;
    }
    util::CreateFolders(save.SavePath, 3);

    host::Host& host = host::current();
    host.documentManager().setDefaultFormatForSave(host::kSaveFormat2004);
    bool written = document.database()->saveAs(save.SavePath) == host::eOk;
    host::Database* working = host.workingDatabase();
    written = working != nullptr && working->saveAs2004(save.SavePath) == host::eOk && written;

    // Committing a file the host could not write would file a drawing that does not exist (or
    // an incomplete one): withdraw the save and tell the user which file failed.
    if (!written) {
        vord.CancelSave();
        ShowPathFailure(texts::kSaveFailed, save.SavePath);
        return;
    }
    CommitOrCancel(vord, save.SavePath, save.SaveReturn2, save.SaveReturn3);
}

// A drawing that lives in a file: saved in place, then the client's script runs, the tree file
// describes the drawing, its BOM table goes into the BOM detail file and the tree file goes to
// the client.
void SaveFiledDrawing(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                      SaveContext& save, host::Document& document) {
    // Every later step hands over or describes the file on disk; after a failed write that is
    // the old drawing, so the user is told and nothing is handed to the client.
    if (document.database()->saveAs(save.SavePath) != host::eOk) {
        ShowPathFailure(texts::kSaveFailed, save.SavePath);
        return;
    }
    scripts.RunScript(OperateScriptPath());
    save.TreeFilePath = WriteSavedDrawingTreeFile(vord, drawings, &document);

    const std::string bomPath =
        text::ReplaceExtension(drawings.GetCurrentFileName(), texts::kBomFileExtension);
    host::SelectionSet selection;
    if (!bom::SelectTableWindow(selection)) return;
    ExtractDetailFile(selection, bomPath);
    if (util::FileExists(save.TreeFilePath)) vord.SendTreeFile(save.TreeFilePath);
}

}  // namespace

void savemethod(VordClient& vord, OperationScriptRunner& scripts, Drawings& drawings,
                SaveContext& save) {
    if (!vord.EnsureLoggedIn()) return;

    // After the last drawing has been closed there is nothing to save.
    host::Document* document = host::current().documentManager().curDocument();
    if (document == nullptr || document->database() == nullptr) return;

    save.SavePath = document->fileName();
    if (!vord.CheckSaveRight(save.SavePath)) {
        util::ShowMessage(texts::kNoRightToSave);
        return;
    }
    if (IsUnfiledPath(save.SavePath)) {
        SaveNewDrawing(vord, scripts, save, *document);
    } else {
        SaveFiledDrawing(vord, scripts, drawings, save, *document);
    }
}

}  // namespace velmarin::commands
