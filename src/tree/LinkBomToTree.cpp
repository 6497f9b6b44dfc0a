#include "tree/LinkBomToTree.h"

#include <array>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tree/AssemblyNode.h"
#include "tree/TreeFile.h"
#include "util/FixedTexts.h"

namespace velmarin {
namespace {

using Column = std::string BomInfo::*;

// The columns a part's node takes from its BOM row, in the order they are written. The part
// name is not among them: it is what found the node.
constexpr std::array<Column, 17> kLinkedColumns = {
    &BomInfo::id,
    &BomInfo::itemNo,
    &BomInfo::quantity,
    &BomInfo::assemblyDrawingNo,
    &BomInfo::partDrawingNo,
    &BomInfo::specification,
    &BomInfo::material,
    &BomInfo::unitWeight,
    &BomInfo::description,
    &BomInfo::materialEn,
    &BomInfo::pst,
    &BomInfo::unit,
    &BomInfo::workNo,
    &BomInfo::prebuy,
    &BomInfo::materialCode,
    &BomInfo::tagNo,
    &BomInfo::remark,
};

// What the linking looks up: each node's drawing name (图名), file name ("Text") and child
// count. Names and counts come from the nodes as written; the 图名 is read from the file, since
// the file's key rules decide which property holds it (keys match ignoring ASCII case and
// blanks, the last write wins) and how its value reads back. A row then costs lookups instead
// of a pass over every node.
class TreeNodes {
  public:
    TreeNodes(const std::vector<AssemblyNode>& nodes, const TreeFile& file)
        : file_(file), drawingNames_(nodes.size()), childCounts_(nodes.size(), 0) {
        texts_.reserve(nodes.size());
        for (std::size_t node = 0; node < nodes.size(); ++node) {
            const int index = static_cast<int>(node);
            drawingNames_[node] = ReadDrawingName(index);
            byDrawingName_[drawingNames_[node]].insert(index);
            texts_.push_back(nodes[node].text);
            byText_[texts_[node]].push_back(index);
        }
    }

    // The lowest-numbered node whose 图名 is `name` byte for byte, or -1.
    int FindPart(const std::string& name) const {
        const auto found = byDrawingName_.find(name);
        return found == byDrawingName_.end() || found->second.empty() ? -1 : *found->second.begin();
    }

    // The nodes whose "Text" is `text` byte for byte, lowest first.
    const std::vector<int>& NodesWithText(const std::string& text) const {
        static const std::vector<int> none;
        const auto found = byText_.find(text);
        return found == byText_.end() ? none : found->second;
    }

    const std::string& Text(int node) const { return texts_[node]; }

    int ChildCount(int node) const { return childCounts_[node]; }
    void SetChildCount(int node, int count) { childCounts_[node] = count; }

    // After a column titled 图名 (give or take blanks) was written into a node, its name is taken
    // from the file again, as the next lookup would find it there.
    void RereadDrawingName(int node) {
        std::string name = ReadDrawingName(node);
        if (name == drawingNames_[node]) return;
        byDrawingName_[drawingNames_[node]].erase(node);
        byDrawingName_[name].insert(node);
        drawingNames_[node] = std::move(name);
    }

  private:
    std::string ReadDrawingName(int node) const {
        return file_.Get(TreeFile::NodeSection(node),
                         TreeFile::ValueKey(texts::kDrawingNameProperty));
    }

    const TreeFile& file_;
    std::vector<std::string> drawingNames_;
    std::vector<std::string> texts_;
    std::vector<int> childCounts_;
    std::unordered_map<std::string, std::set<int>> byDrawingName_;
    std::unordered_map<std::string, std::vector<int>> byText_;
};

// Makes the drawing whose 图名 is the row's part name a child of every node of the row's
// drawing, and gives it the row's columns under the header's titles. False when no drawing of
// the batch is that part.
bool LinkRow(const BomInfo& row, const BomInfo& header, TreeNodes& nodes, TreeFile& file) {
    const int part = nodes.FindPart(row.partName);
    if (part < 0) return false;
    const std::string partSection = TreeFile::NodeSection(part);
    bool mayRename = false;
    for (const Column column : kLinkedColumns) {
        const std::string& title = header.*column;
        const std::string& value = row.*column;
        if (title.empty() || value.empty()) continue;
        file.Set(partSection, TreeFile::ValueKey(title), value);
        file.Set(partSection, TreeFile::TypeKey(title), texts::kTreePropertyType);
        // Key lookups fold ASCII letters and trim blanks only, so no title reaches the 图名 key
        // unless it holds the bytes of 图名.
        if (title.find(texts::kDrawingNameProperty) != std::string::npos) mayRename = true;
    }
    const std::string& childName = nodes.Text(part);
    for (const int assembly : nodes.NodesWithText(row.drawingName)) {
        const int children = nodes.ChildCount(assembly);
        const std::string assemblySection = TreeFile::NodeSection(assembly);
        file.Set(assemblySection, TreeFile::ChildNameKey(children), childName);
        file.Set(assemblySection, TreeFile::kChildCountKey, std::to_string(children + 1));
        nodes.SetChildCount(assembly, children + 1);
    }
    if (mayRename) nodes.RereadDrawingName(part);
    return true;
}

}  // namespace

int LinkBomToTree(const std::vector<AssemblyNode>& nodes,
                  std::vector<std::vector<BomInfo>>& drawingRows, TreeFile& file) {
    int linkedRows = 0;
    std::optional<TreeNodes> nodeIndex;  // read only once a row needs it
    for (std::vector<BomInfo>& rows : drawingRows) {
        // Linked rows leave the list; the survivors move up in one pass (`kept` trails the row
        // being examined).
        std::size_t kept = 0;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            bool linked = false;
            if (!rows[r].partName.empty() && !nodes.empty()) {
                if (!nodeIndex) nodeIndex.emplace(nodes, file);
                linked = LinkRow(rows[r], rows[0], *nodeIndex, file);
                if (linked) ++linkedRows;
            }
            // The title row stays even when a drawing is named after a title: the other rows
            // still need their titles, and the detail file leaves the row out.
            if (linked && r != 0) continue;
            if (kept != r) rows[kept] = std::move(rows[r]);
            ++kept;
        }
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(kept), rows.end());
    }
    return linkedRows;
}

}  // namespace velmarin
