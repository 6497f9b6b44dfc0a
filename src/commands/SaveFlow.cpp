#include "commands/SaveFlow.h"

#include <algorithm>

#include "bom/BomFile.h"
#include "bom/BomTable.h"
#include "bom/ColumnTitles.h"
#include "bom/TableSearch.h"
#include "bridge/VordClient.h"
#include "tree/SaveTreeFile.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin::commands {

std::string OperateScriptPath() {
    return text::Trim(util::ModuleFolder(texts::kModuleFileName) + texts::kOperateScript);
}

bool IsUnfiledPath(const std::string& path) {
    return !util::FileExists(path) && util::DriveOf(path).empty();
}

void CommitOrCancel(VordClient& vord, const std::string& path, const std::string& return2,
                    const std::string& return3) {
    if (!vord.CommitSave(path, return2, return3)) vord.CancelSave();
}

std::string WriteSavedDrawingTreeFile(const VordClient& vord, Drawings& drawings,
                                      host::Document* saved) {
    host::DocumentManager& documents = host::current().documentManager();
    host::Document* current = documents.curDocument();
    const std::vector<host::Document*> open = documents.documents();
    const bool switchTo = saved != nullptr && current != saved &&
                          std::find(open.begin(), open.end(), saved) != open.end();
    if (switchTo) documents.activateDocument(saved);
    std::string treePath = WriteSaveTreeFile(vord.clientFolder, drawings);
    if (switchTo && current != nullptr) documents.activateDocument(current);
    return treePath;
}

void ExtractDetailFile(const host::SelectionSet& selection, const std::string& bomPath) {
    const ColumnTitles titles = bom::ReadColumnTitles();
    const bom::FoundTable found = bom::FindTable(selection, titles);
    const bom::BomTable table = bom::AnalyseTable(found.geometry, titles, bomPath);
    if (table.cells.empty()) return;
    if (bom::WriteDetailFile(bomPath, table.rows)) util::ShowMessage(texts::kBomExtracted);
}

void ShowPathFailure(const char* message, const std::string& path) {
    util::ShowMessage(message + path);
}

}  // namespace velmarin::commands
