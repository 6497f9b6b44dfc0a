#include <array>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tree/LinkBomToTree.h"

#include "bom/BomWorkspace.h"
#include "platform/Platform.h"
#include "tree/TreeFile.h"
#include "util/FixedTexts.h"
#include "util/Text.h"

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

// What the linking looks up in the tree file: each node's drawing name (图名), file name
// ("Text") and child count. Each is read once and then kept in step with the linking's own
// writes, so that a BOM row costs lookups instead of a pass over every node of the file.
class TreeNodes {
  public:
    TreeNodes(const TreeFile& file, int count)
        : file_(file),
          drawingNames_(count),
          texts_(count),
          childCounts_(count) {
        for (int node = 0; node < count; ++node) {
            drawingNames_[node] = Read(node, drawingNameKey_);
            byDrawingName_[drawingNames_[node]].insert(node);
            texts_[node] = Read(node, TreeFile::kTextKey);
            byText_[texts_[node]].push_back(node);
            childCounts_[node] = text::LeadingInt(Read(node, TreeFile::kChildCountKey));
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
        std::string name = Read(node, drawingNameKey_);
        if (name == drawingNames_[node]) return;
        byDrawingName_[drawingNames_[node]].erase(node);
        byDrawingName_[name].insert(node);
        drawingNames_[node] = std::move(name);
    }

  private:
    std::string Read(int node, const std::string& key) const {
        return file_.Get(TreeFile::NodeSection(node), key);
    }

    const TreeFile& file_;
    const std::string drawingNameKey_ =
        std::string(texts::kConfigValuePrefix) + texts::kDrawingNameProperty;
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
        file.Set(partSection, TreeFile::TypeKey(title), "0");
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

// Where each block begins, as indices into rows [0, rowCount). Blocks follow one another, so a
// start that lies before its predecessor or past the end is pulled into range rather than read
// outside the rows.
std::vector<std::size_t> BlockBegins(const std::vector<int>& starts, std::size_t rowCount) {
    std::vector<std::size_t> begins;
    begins.reserve(starts.size());
    std::size_t floor = 0;
    for (const int start : starts) {
        std::size_t begin = start < 0 ? 0 : static_cast<std::size_t>(start);
        if (begin > rowCount) begin = rowCount;
        if (begin < floor) begin = floor;
        begins.push_back(begin);
        floor = begin;
    }
    return begins;
}

}  // namespace

int LinkBomToTree(BomWorkspace& bom, TreeFile& file) {
    const int nodeCount = text::LeadingInt(file.Get(TreeFile::kInfoSection, TreeFile::kCountKey));
    std::vector<BomInfo>& bomRows = bom.rows();
    std::vector<int>& drawingStarts = bom.drawingStarts();
    int linkedRows = 0;
    std::optional<TreeNodes> nodes;  // read only once a row needs it
    // The detail files are flushed one after another and replace theirs together at the end.
    platform::CommitGroup detailFiles(platform::current());

    // Linked rows leave the BOM. The survivors are moved up in one pass (`kept` trails the row
    // being examined), so each block is contiguous when its detail file is written, and the
    // rows and block starts end as if every linked row had been erased on the spot.
    const std::size_t rowCount = bomRows.size();
    const std::vector<std::size_t> begins = BlockBegins(drawingStarts, rowCount);
    std::size_t kept = begins.empty() ? rowCount : begins.front();
    for (std::size_t block = 0; block < begins.size(); ++block) {
        const std::size_t begin = begins[block];
        const std::size_t end = block + 1 < begins.size() ? begins[block + 1] : rowCount;
        const std::size_t first = kept;
        for (std::size_t r = begin; r < end; ++r) {
            BomInfo& row = bomRows[r];
            bool linked = false;
            if (!row.partName.empty() && nodeCount >= 1) {
                if (!nodes) nodes.emplace(file, nodeCount);
                const BomInfo& header = r == begin ? row : bomRows[first];
                linked = LinkRow(row, header, *nodes, file);
                if (linked) ++linkedRows;
            }
            // The title band stays even when a drawing is named after a title: the block's
            // other rows still need their titles, and the detail file leaves the band out.
            if (linked && r != begin) continue;
            if (kept != r) bomRows[kept] = std::move(row);
            ++kept;
        }
        drawingStarts[block] = static_cast<int>(first);
        const int blockRows = static_cast<int>(kept - first);
        if (blockRows > 1)
            bom.WriteBomFileRows(blockRows, static_cast<int>(first), bomRows[first].bomPath);
    }
    bomRows.erase(bomRows.begin() + static_cast<std::ptrdiff_t>(kept), bomRows.end());
    return linkedRows;
}

}  // namespace velmarin
