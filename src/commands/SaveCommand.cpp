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
namespace {

// The BOM table is looked for in a fixed square around the origin, where title frames are drawn.
constexpr double kBomWindowHalfSide = 5000.0;

// A drawing that has never been saved: the client names its file, the drawing is written there
// and the new file is committed. Nothing else of the filed-drawing flow runs.
void SaveNewDrawing(SharedObjects& shared, host::Document& document) {
    TdaFunc& func = *shared.func;
    TdaVORD& vord = *shared.vord;
    SaveContext& save = SaveState();

    save.SavePath = shared.autoVord->RequestSavePath("", save.SaveReturn2, save.SaveReturn3);
    if (IsUnfiledPath(func, save.SavePath)) {
        ShowPathFailure(texts::kSaveFailed, save.SavePath);
        return;
    }
    func.CreateFolders(save.SavePath, 3);

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
void SaveFiledDrawing(SharedObjects& shared, host::Document& document) {
    TdaFunc& func = *shared.func;
    SaveContext& save = SaveState();

    // Every later step hands over or describes the file on disk; after a failed write that is
    // the old drawing, so the user is told and nothing is handed to the client.
    if (document.database()->saveAs(save.SavePath) != host::eOk) {
        ShowPathFailure(texts::kSaveFailed, save.SavePath);
        return;
    }
    shared.autoVord->RunScript(OperateScriptPath(func));
    save.TreeFilePath = shared.acad->WriteSaveTreeFile();

    const std::string bomPath = text::ReplaceExtension(shared.acad->GetCurrentFileName(), ".bmf");
    const host::Point3 upperRight{kBomWindowHalfSide, kBomWindowHalfSide, 0.0};
    const host::Point3 lowerLeft{-kBomWindowHalfSide, -kBomWindowHalfSide, 0.0};
    host::SelectionSet selection;
    if (host::current().ssget("W", &upperRight, &lowerLeft, selection) != host::RTNORM) return;

    func.ExtractBomTable(selection, bomPath);
    if (!func.texts.empty()) func.WriteBomFile(bomPath);
    if (func.FileExists(save.TreeFilePath) != 0) shared.vord->SendTreeFile(save.TreeFilePath);
}

}  // namespace

void savemethod() {
    SharedObjects& shared = Shared();
    if (shared.func == nullptr || shared.vord == nullptr || shared.autoVord == nullptr ||
        shared.acad == nullptr) {
        return;
    }
    if (shared.vord->EnsureLoggedIn() == 0) return;

    // After the last drawing has been closed there is nothing to save.
    host::Document* document = host::current().documentManager().curDocument();
    if (document == nullptr || document->database() == nullptr) return;

    SaveContext& save = SaveState();
    save.SavePath = document->fileName();
    if (shared.vord->CheckSaveRight(save.SavePath) == 0) {
        platform::current().notifier().messageBox(texts::kNoRightToSave, "",
                                                  platform::MessageIcon::None);
        return;
    }
    if (IsUnfiledPath(*shared.func, save.SavePath)) {
        SaveNewDrawing(shared, *document);
    } else {
        SaveFiledDrawing(shared, *document);
    }
}

}  // namespace velmarin::commands
