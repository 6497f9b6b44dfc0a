#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bom/BomFile.h"
#include "bom/BomTable.h"
#include "bom/ColumnTitles.h"
#include "bom/TableSearch.h"
#include "bridge/VordClient.h"
#include "commands/Commands.h"
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

namespace velmarin::commands {
namespace {

constexpr std::size_t kDialogNameBufferBytes = 10000;

bool Contains(const std::vector<host::Document*>& documents, const host::Document* document) {
    return std::find(documents.begin(), documents.end(), document) != documents.end();
}

std::optional<std::vector<std::string>> AskForDrawings() {
    platform::OpenFileDialogSpec request;
    request.defaultExtension = texts::kDwgDialogExtension;
    request.initialFileName = "";
    request.filter = texts::kDwgFilter;
    request.allowMultiSelect = true;
    request.hideReadOnly = true;
    request.nameBufferBytes = kDialogNameBufferBytes;
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

// The parts list of the current drawing, title row first; none without a table in the window.
std::vector<BomInfo> ReadPartsList(const std::string& drawingPath, const ColumnTitles& titles) {
    host::SelectionSet selection;
    if (!bom::SelectTableWindow(selection)) return {};
    const bom::FoundTable found = bom::FindTable(selection, titles);
    if (!found.found()) return {};
    const std::string bomPath = text::ReplaceExtension(drawingPath, texts::kBomFileExtension);
    return bom::AnalyseTable(found.geometry, titles, bomPath).rows;
}

// Command-line lines start with a line break, as the host's own prompts do.
void Print(const std::string& line) { host::current().printf("\n" + line); }

}  // namespace

void BatchRun(VordClient& vord, Drawings& drawings) {
    const std::optional<std::vector<std::string>> picked = AskForDrawings();
    if (!picked) return;

    // The temp folder is made before the first drawing, so that even a run in which no drawing
    // could be read leaves a file whose count is true.
    TreeFile file(TreeFile::PrepareIn(vord.clientFolder));
    const std::string templatePath = TitleTemplatePath(vord.clientFolder);
    const ColumnTitles titles = bom::ReadColumnTitles();
    host::Document* original = host::current().documentManager().curDocument();
    // Nodes are numbered by what was written, so a drawing that could not be read leaves no gap.
    std::vector<AssemblyNode> nodes;
    std::vector<std::vector<BomInfo>> partsLists;
    std::vector<std::string> skipped;
    const std::string total = std::to_string(picked->size());
    for (std::size_t i = 0; i < picked->size(); ++i) {
        const std::string& path = (*picked)[i];
        Print(texts::kBatchReading + std::to_string(i + 1) + texts::kBatchReadingOf + total +
              texts::kBatchReadingDrawing + path);
        const PickedDrawing drawing = BringUp(drawings, path);
        if (drawing.document == nullptr) {
            skipped.push_back(
                (util::FileExists(path) ? texts::kCannotOpenDrawing : texts::kBatchSkippedMissing) +
                path);
            continue;
        }
        AssemblyNode node;
        node.path = drawings.GetCurrentFileName();
        node.text = text::FileNamePart(node.path);
        node.properties = ReadDrawingInfo(templatePath);
        node.WriteNodeSection(file, static_cast<int>(nodes.size()));
        partsLists.push_back(ReadPartsList(node.path, titles));
        nodes.push_back(std::move(node));
        if (drawing.openedByBatch) drawings.CloseDrawing(drawing.document);
    }
    RestoreCurrent(original);

    file.Set(texts::kTreeInfoSection, texts::kTreeCountKey, std::to_string(nodes.size()));
    const int linked = LinkBomToTree(nodes, partsLists, file);
    bom::WriteDetailFiles(partsLists);
    const bool sent = file.Save() && vord.SendTreeFile(file.path());

    Print(texts::kBatchFinished + std::to_string(nodes.size()) + texts::kBatchReadingOf + total +
          texts::kBatchFinishedSkipped + std::to_string(skipped.size()) + texts::kBatchFinishedEnd);
    for (const std::string& line : skipped) Print(line);
    Print(texts::kBatchLinked + std::to_string(linked) + texts::kBatchLinkedEnd);
    Print(sent ? texts::kTreeFileSent : texts::kTreeFileNotSent);
}

}  // namespace velmarin::commands
