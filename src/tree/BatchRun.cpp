#include "tree/BatchRun.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bridge/TdaVORD.h"
#include "drawing/TdaAutocad.h"
#include "host/Host.h"
#include "platform/Platform.h"
#include "tree/TreeFileStage.h"
#include "util/FixedTexts.h"
#include "util/Shared.h"
#include "util/TdaFunc.h"

namespace velmarin {
namespace {

bool Contains(const std::vector<host::Document*>& documents, const host::Document* document) {
    return std::find(documents.begin(), documents.end(), document) != documents.end();
}

std::optional<std::vector<std::string>> AskForDrawings() {
    platform::OpenFileDialogSpec request;
    request.defaultExtension = "dwg";
    request.initialFileName = "";
    request.filter = texts::kDwgFilter;
    request.allowMultiSelect = true;
    request.hideReadOnly = true;
    request.nameBufferBytes = 10000;
    return platform::current().notifier().openFileDialog(request);
}

// The run's tree file, recreated by the run's stage. The temp folder is made here rather than by
// the first node, so that even a run in which no drawing could be read leaves a file whose count
// is true.
std::string PrepareTreeFile(const TdaVORD& vord) {
    platform::Platform& os = platform::current();
    const std::string folder = vord.clientFolder + "temp";
    if (!os.findFirstFile(folder)) os.createDirectory(folder);
    return folder + "\\sldTree.ini";
}

// One picked drawing made current for reading. The batch closes afterwards only a document it
// opened itself: one the user already had open may hold unsaved work.
struct PickedDrawing {
    host::Document* document = nullptr;
    bool openedByBatch = false;
};

PickedDrawing BringUp(TdaAutocad& acad, const std::string& path) {
    host::DocumentManager& documents = host::current().documentManager();
    PickedDrawing picked;
    // Checked first so that a drawing the user has open is read as it is, without the
    // "already open" message that OpenDrawing would stop the batch with for each such file.
    picked.document = acad.FindOpenDocument(path);
    if (picked.document == nullptr) {
        const std::vector<host::Document*> before = documents.documents();
        host::Document* active = acad.OpenDrawing(path);
        // A failed open leaves some other document active: that one is not the picked drawing.
        if (active == nullptr || Contains(before, active)) return {};
        picked = {active, true};
    }
    if (documents.curDocument() != picked.document) documents.activateDocument(picked.document);
    if (documents.curDocument() != picked.document) {
        if (picked.openedByBatch) acad.CloseDrawing(picked.document);
        return {};
    }
    return picked;
}

// Gives the user back the drawing they were working in when the run began.
void RestoreCurrent(host::Document* original) {
    if (original == nullptr) return;
    host::DocumentManager& documents = host::current().documentManager();
    if (documents.curDocument() == original) return;
    if (Contains(documents.documents(), original)) documents.activateDocument(original);
}

}  // namespace

void BatchRun() {
    SharedObjects& shared = Shared();
    if (shared.func == nullptr || shared.vord == nullptr || shared.acad == nullptr) return;
    TdaFunc& func = *shared.func;
    TdaAutocad& acad = *shared.acad;

    func.bomRows.clear();
    func.drawingStarts.clear();
    const std::optional<std::vector<std::string>> picked = AskForDrawings();
    if (!picked) return;

    const std::string treeFile = PrepareTreeFile(*shared.vord);
    TreeFileStage stage(treeFile);
    host::Document* original = host::current().documentManager().curDocument();
    // Nodes are numbered by what was written, so a drawing that could not be read leaves no gap.
    int written = 0;
    for (const std::string& path : *picked) {
        const PickedDrawing drawing = BringUp(acad, path);
        if (drawing.document == nullptr) continue;
        acad.WriteBatchTreeNode(written);
        ++written;
        if (drawing.openedByBatch) acad.CloseDrawing(drawing.document);
    }
    RestoreCurrent(original);

    platform::current().writeProfileString("TreeNodeInfo", "Count", std::to_string(written).c_str(),
                                           treeFile);
    func.LinkBomToTree(treeFile);
    if (stage.commit()) shared.vord->SendTreeFile(treeFile);
}

}  // namespace velmarin
