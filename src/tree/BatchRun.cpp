#include "tree/BatchRun.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bom/BomWorkspace.h"
#include "bridge/VordClient.h"
#include "drawing/Drawings.h"
#include "drawing/TitleProperties.h"
#include "host/Host.h"
#include "platform/Platform.h"
#include "tree/AssemblyNode.h"
#include "tree/LinkBomToTree.h"
#include "tree/TreeFile.h"
#include "util/FixedTexts.h"
#include "util/Paths.h"
#include "util/Text.h"

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

// One picked drawing made current for reading. The batch closes afterwards only a document it
// opened itself: one the user already had open may hold unsaved work.
struct PickedDrawing {
    host::Document* document = nullptr;
    bool openedByBatch = false;
};

PickedDrawing BringUp(Drawings& drawings, const std::string& path) {
    host::DocumentManager& documents = host::current().documentManager();
    PickedDrawing picked;
    // Checked first so that a drawing the user has open is read as it is, without the
    // "already open" message that OpenDrawing would stop the batch with for each such file.
    picked.document = drawings.FindOpenDocument(path);
    if (picked.document == nullptr) {
        picked.document = drawings.OpenForReading(path, picked.openedByBatch);
        if (picked.document == nullptr) return {};
    }
    if (documents.curDocument() != picked.document) documents.activateDocument(picked.document);
    if (documents.curDocument() != picked.document) {
        if (picked.openedByBatch) drawings.CloseDrawing(picked.document);
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

// The current drawing's node, and its BOM table gathered into the workspace.
void ReadCurrentDrawing(TreeFile& file, int index, const std::string& templatePath,
                        Drawings& drawings, BomWorkspace& bom) {
    AssemblyNode node;
    node.path = drawings.GetCurrentFileName();
    node.text = text::FileNamePart(node.path);
    node.properties = ReadDrawingInfo(templatePath);
    node.WriteNodeSection(file, index);

    const std::string bomPath = text::ReplaceExtension(node.path, ".bmf");
    host::SelectionSet selection;
    if (SelectTableWindow(selection) != host::RTNORM) return;
    // The block of this drawing starts where the rows of the drawings before it end.
    bom.BeginDrawing();
    bom.ExtractBomTable(selection, bomPath);
}

// Command-line lines start with a line break, as the host's own prompts do.
void Print(const std::string& line) { host::current().printf("\n" + line); }

}  // namespace

void BatchRun(VordClient& vord, Drawings& drawings, BomWorkspace& bom) {
    bom.ClearRows();
    const std::optional<std::vector<std::string>> picked = AskForDrawings();
    if (!picked) return;

    // The temp folder is made before the first drawing, so that even a run in which no drawing
    // could be read leaves a file whose count is true.
    TreeFile file(TreeFile::PrepareIn(vord.clientFolder));
    const std::string templatePath = TitleTemplatePath(vord.clientFolder);
    host::Document* original = host::current().documentManager().curDocument();
    // Nodes are numbered by what was written, so a drawing that could not be read leaves no gap.
    int written = 0;
    std::vector<std::string> skipped;
    const std::size_t total = picked->size();
    for (std::size_t i = 0; i < total; ++i) {
        const std::string& path = (*picked)[i];
        Print("Reading drawing " + std::to_string(i + 1) + " of " + std::to_string(total) + ": " +
              path);
        const PickedDrawing drawing = BringUp(drawings, path);
        if (drawing.document == nullptr) {
            skipped.push_back(path + (util::FileExists(path) ? ": could not be opened"
                                                             : ": not found"));
            continue;
        }
        ReadCurrentDrawing(file, written, templatePath, drawings, bom);
        ++written;
        if (drawing.openedByBatch) drawings.CloseDrawing(drawing.document);
    }
    RestoreCurrent(original);

    file.Set(TreeFile::kInfoSection, TreeFile::kCountKey, std::to_string(written));
    const int linked = LinkBomToTree(bom, file);
    const bool sent = file.Save() && vord.SendTreeFile(file.path()) == 1;

    Print("Batch finished: " + std::to_string(written) + " of " + std::to_string(total) +
          " drawing(s) read, " + std::to_string(skipped.size()) + " skipped.");
    for (const std::string& reason : skipped) Print("Skipped " + reason + ".");
    Print(std::to_string(linked) + " part(s) linked to their assemblies.");
    Print(sent ? "The tree file reached VORD." : "The tree file did not reach VORD.");
}

}  // namespace velmarin
