#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "bom/BomWorkspace.h"
#include "util/Text.h"

namespace velmarin {
namespace {

// Entries of headerTexts (positions in that list, ascending) grouped by a row or column number.
using HeaderGroups = std::unordered_map<int, std::vector<int>>;

// The last entry of `group` whose header is not `cell` itself, or -1. A cell matching a header
// entry of its own takes its own kind, which changes nothing, so such entries are passed over;
// a cell's own entries are adjacent in headerTexts_, so few are ever skipped.
int LastForeignEntry(const HeaderGroups& groups, int key, const std::vector<int>& headers,
                     int cell) {
    const auto found = groups.find(key);
    if (found == groups.end()) return -1;
    const std::vector<int>& entries = found->second;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (headers[static_cast<std::size_t>(*it)] != cell) return *it;
    }
    return -1;
}

// The name part of a path (between its last backslash and its last dot) with ".dwg".
std::string DrawingNameOf(const std::string& path) {
    const std::size_t backslash = text::FindLast(path, '\\');
    const std::size_t start = backslash == text::npos ? 0 : backslash + 1;
    const std::size_t dot = text::FindLast(path, '.');
    // No dot after the last backslash leaves no name part.
    if (dot == text::npos || dot < start) return ".dwg";
    return path.substr(start, dot - start) + ".dwg";
}

}  // namespace

void BomWorkspace::AssignColumnKinds() {
    headerTexts_.clear();
    const std::size_t titleCount = columnTitles_.size() < static_cast<std::size_t>(kColumnKinds)
                                       ? columnTitles_.size()
                                       : kColumnKinds;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        for (std::size_t t = 0; t < titleCount; ++t) {
            // An empty title stands for a key missing from the template: it names no column,
            // and matching it would turn every empty cell into a header.
            if (columnTitles_[t].empty() || texts_[i].text != columnTitles_[t]) continue;
            texts_[i].kind = static_cast<int>(t) + 1;
            headerTexts_.push_back(static_cast<int>(i));
        }
    }
    if (headerTexts_.empty()) return;

    // Orientation from the first two headers; a lone header is read as a row of titles.
    bool alongRow = true;
    bool downColumn = false;
    if (headerTexts_.size() >= 2) {
        const TextInfo& h0 = texts_[static_cast<std::size_t>(headerTexts_[0])];
        const TextInfo& h1 = texts_[static_cast<std::size_t>(headerTexts_[1])];
        alongRow = h1.row == h0.row;
        downColumn = h1.column == h0.column;
    }
    if (!alongRow && !downColumn) return;

    // Every cell takes the kind of the last header entry it lines up with (later matches
    // overwrite earlier ones). Grouping the entries by row and column finds that entry without
    // comparing every cell with every header.
    HeaderGroups byRow;
    HeaderGroups byColumn;
    for (std::size_t j = 0; j < headerTexts_.size(); ++j) {
        const TextInfo& header = texts_[static_cast<std::size_t>(headerTexts_[j])];
        if (downColumn) byRow[header.row].push_back(static_cast<int>(j));
        if (alongRow) byColumn[header.column].push_back(static_cast<int>(j));
    }
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        const int cell = static_cast<int>(i);
        int last = -1;
        if (downColumn) last = LastForeignEntry(byRow, texts_[i].row, headerTexts_, cell);
        if (alongRow) {
            const int entry = LastForeignEntry(byColumn, texts_[i].column, headerTexts_, cell);
            if (entry > last) last = entry;
        }
        // The header's kind as it stands now: already final for a header before this cell,
        // still its title's kind for one after it.
        if (last >= 0) texts_[i].kind = texts_[static_cast<std::size_t>(headerTexts_[last])].kind;
    }
}

void BomWorkspace::DistributeTexts() {
    for (const TextInfo& cell : texts_) {
        if (cell.kind < 1 || cell.kind > kColumnKinds) continue;
        const int slot = kColumnKindTable[static_cast<std::size_t>(cell.kind - 1)].slot;
        PutCell(columnValues_[static_cast<std::size_t>(slot)], cell.text, cell.row);
    }
}

void BomWorkspace::PutCell(std::vector<std::string>& list, const std::string& text, int row) {
    if (row < 1) return;  // a cell outside every row band has no place in the list
    const std::size_t position = static_cast<std::size_t>(row) - 1;
    if (position >= list.size()) {
        list.resize(position);
        list.push_back(text);
    } else {
        list[position] += text;
    }
}

void BomWorkspace::BuildBomRows(const std::string& bomPath) {
    if (gridY_.size() < 2) return;
    const std::size_t rowCount = gridY_.size() - 1;
    const std::string drawingName = DrawingNameOf(bomPath);
    // No reserve for exactly these rows: a batch appends table after table, and growing to the
    // exact size each time would move every row gathered so far once per drawing.
    for (std::size_t i = 0; i < rowCount; ++i) {
        BomInfo row;
        row.drawingName = drawingName;
        row.bomPath = bomPath;
        for (int slot = 0; slot < kColumnKinds; ++slot) {
            const auto& list = columnValues_[static_cast<std::size_t>(slot)];
            if (i < list.size()) row.slot(slot) = list[i];
        }
        rows_.push_back(std::move(row));
    }
}

}  // namespace velmarin
