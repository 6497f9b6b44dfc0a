#include <array>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "bom/BomTypes.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/TdaFunc.h"
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

std::string NodeSection(int index) { return "TreeNode" + std::to_string(index); }

// BOM cells come from the drawing; a line break in one would end its line in the tree file and
// let the rest pass for keys or sections of their own when the client reads the file.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

void WriteKey(const std::string& section, const std::string& key, const std::string& value,
              const std::string& file) {
    platform::current().writeProfileString(section.c_str(), OneLine(key).c_str(),
                                           OneLine(value).c_str(), file);
}

// What the linking looks up in the tree file: each node's drawing name (图名), file name
// ("Text") and child count. Each is read once through the profile reader and then kept in step
// with the linking's own writes, so that a BOM row costs lookups instead of a pass over every
// node of the file.
class TreeNodes {
  public:
    TreeNodes(const TdaFunc& func, std::string file, int count)
        : func_(func),
          file_(std::move(file)),
          drawingNames_(count),
          texts_(count),
          childCounts_(count) {
        // Read before the first link writes anything, while the file stands still and the
        // profile reader can answer from what it parsed last.
        for (int node = 0; node < count; ++node) {
            drawingNames_[node] = Read(node, drawingNameKey_);
            byDrawingName_[drawingNames_[node]].insert(node);
            texts_[node] = Read(node, "Text");
            byText_[texts_[node]].push_back(node);
            childCounts_[node] = text::LeadingInt(Read(node, "ChildCount"));
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
        std::string value;
        func_.ReadIniString(NodeSection(node), key, value, file_);
        return value;
    }

    const TdaFunc& func_;
    const std::string file_;
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
bool LinkRow(const BomInfo& row, const BomInfo& header, TreeNodes& nodes, const std::string& file) {
    const int part = nodes.FindPart(row.partName);
    if (part < 0) return false;
    const std::string partSection = NodeSection(part);
    bool mayRename = false;
    for (const Column column : kLinkedColumns) {
        const std::string& title = header.*column;
        const std::string& value = row.*column;
        if (title.empty() || value.empty()) continue;
        WriteKey(partSection, texts::kConfigValuePrefix + title, value, file);
        WriteKey(partSection, texts::kConfigTypePrefix + title, "0", file);
        // Key lookups fold ASCII letters and trim blanks only, so no title reaches the 图名 key
        // unless it holds the bytes of 图名.
        if (title.find(texts::kDrawingNameProperty) != std::string::npos) mayRename = true;
    }
    const std::string& childName = nodes.Text(part);
    for (const int assembly : nodes.NodesWithText(row.drawingName)) {
        const int children = nodes.ChildCount(assembly);
        const std::string assemblySection = NodeSection(assembly);
        WriteKey(assemblySection, "childname" + std::to_string(children), childName, file);
        WriteKey(assemblySection, "ChildCount", std::to_string(children + 1), file);
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

void TdaFunc::LinkBomToTree(const std::string& treeFilePath) {
    std::string countText;
    ReadIniString("TreeNodeInfo", "Count", countText, treeFilePath);
    const int nodeCount = text::LeadingInt(countText);
    std::optional<TreeNodes> nodes;  // read only once a row needs it

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
                if (!nodes) nodes.emplace(*this, treeFilePath, nodeCount);
                const BomInfo& header = r == begin ? row : bomRows[first];
                linked = LinkRow(row, header, *nodes, treeFilePath);
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
            WriteBomFileRows(blockRows, static_cast<int>(first), bomRows[first].bomPath);
    }
    bomRows.erase(bomRows.begin() + static_cast<std::ptrdiff_t>(kept), bomRows.end());
}

}  // namespace velmarin
