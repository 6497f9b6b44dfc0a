#include "bom/BomLayout.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "util/FixedTexts.h"
#include "util/Text.h"

namespace velmarin::bom {
namespace {

// Entries of the header list (positions in it, ascending) grouped by a row or column number.
using HeaderGroups = std::unordered_map<int, std::vector<int>>;

// How the first two headers lie; a lone header is read as a row of titles.
struct Orientation {
    bool alongRow = true;
    bool downColumn = false;
};

Orientation OrientationOf(const std::vector<TextInfo>& cells, const std::vector<int>& headers) {
    Orientation o;
    if (headers.size() >= 2) {
        const TextInfo& h0 = cells[static_cast<std::size_t>(headers[0])];
        const TextInfo& h1 = cells[static_cast<std::size_t>(headers[1])];
        o.alongRow = h1.row == h0.row;
        o.downColumn = h1.column == h0.column;
    }
    return o;
}

// The last entry of `group` whose header is not `cell` itself, or -1. A cell matching a header
// entry of its own takes its own kind, which changes nothing, so such entries are passed over;
// a cell's own entries are adjacent in the header list, so few are ever skipped.
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

}  // namespace

std::vector<int> AssignColumnKinds(std::vector<TextInfo>& cells, const ColumnTitles& titles) {
    std::vector<int> headers;
    const std::size_t titleCount =
        titles.size() < static_cast<std::size_t>(kColumnKinds) ? titles.size() : kColumnKinds;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t t = 0; t < titleCount; ++t) {
            // An empty title stands for a key missing from the template: it names no column,
            // and matching it would turn every empty cell into a header.
            if (titles[t].empty() || cells[i].text != titles[t]) continue;
            cells[i].kind = static_cast<int>(t) + 1;
            headers.push_back(static_cast<int>(i));
        }
    }
    if (headers.empty()) return headers;
    const Orientation o = OrientationOf(cells, headers);
    if (!o.alongRow && !o.downColumn) return headers;

    // Every cell takes the kind of the last header entry it lines up with (later matches
    // overwrite earlier ones). Grouping the entries by row and column finds that entry without
    // comparing every cell with every header.
    HeaderGroups byRow;
    HeaderGroups byColumn;
    for (std::size_t j = 0; j < headers.size(); ++j) {
        const TextInfo& header = cells[static_cast<std::size_t>(headers[j])];
        if (o.downColumn) byRow[header.row].push_back(static_cast<int>(j));
        if (o.alongRow) byColumn[header.column].push_back(static_cast<int>(j));
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int cell = static_cast<int>(i);
        int last = -1;
        if (o.downColumn) last = LastForeignEntry(byRow, cells[i].row, headers, cell);
        if (o.alongRow) {
            const int entry = LastForeignEntry(byColumn, cells[i].column, headers, cell);
            if (entry > last) last = entry;
        }
        // The header's kind as it stands now: already final for a header before this cell,
        // still its title's kind for one after it.
        if (last >= 0) cells[i].kind = cells[static_cast<std::size_t>(headers[last])].kind;
    }
    return headers;
}

int TitleBand(const std::vector<TextInfo>& cells, const std::vector<int>& headers) {
    if (headers.empty() || !OrientationOf(cells, headers).alongRow) return 1;
    return cells[static_cast<std::size_t>(headers[0])].row;
}

ColumnValues DistributeTexts(const std::vector<TextInfo>& cells) {
    ColumnValues values;
    for (const TextInfo& cell : cells) {
        if (cell.kind < 1 || cell.kind > kColumnKinds) continue;
        const int slot = kColumnKindTable[static_cast<std::size_t>(cell.kind - 1)].slot;
        PutCell(values[static_cast<std::size_t>(slot)], cell.text, cell.row);
    }
    return values;
}

void PutCell(std::vector<std::string>& list, const std::string& text, int row) {
    if (row < 1) return;
    const std::size_t position = static_cast<std::size_t>(row) - 1;
    if (position >= list.size()) {
        list.resize(position);
        list.push_back(text);
    } else {
        list[position] += text;
    }
}

std::vector<int> RowOrder(int bands, int titleBand) {
    std::vector<int> order;
    if (bands < 1) return order;
    order.reserve(static_cast<std::size_t>(bands));
    const int title = titleBand < 1 || titleBand > bands ? 1 : titleBand;
    order.push_back(title);
    const bool downFirst = title - 1 > bands - title;
    for (int pass = 0; pass < 2; ++pass) {
        if ((pass == 0) == downFirst) {
            for (int band = title - 1; band >= 1; --band) order.push_back(band);
        } else {
            for (int band = title + 1; band <= bands; ++band) order.push_back(band);
        }
    }
    return order;
}

std::vector<BomInfo> BuildBomRows(const ColumnValues& values, const std::vector<int>& order,
                                  const std::string& bomPath) {
    std::vector<BomInfo> rows;
    rows.reserve(order.size());
    const std::string drawingName = DrawingNameOf(bomPath);
    for (const int band : order) {
        BomInfo row;
        row.drawingName = drawingName;
        row.bomPath = bomPath;
        const std::size_t position = static_cast<std::size_t>(band) - 1;
        for (int slot = 0; slot < kColumnKinds; ++slot) {
            const auto& list = values[static_cast<std::size_t>(slot)];
            if (position < list.size()) row.slot(slot) = list[position];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string DrawingNameOf(const std::string& bomPath) {
    const std::string name = text::FileNamePart(bomPath);
    // Only a dot in the file name starts its extension; a dot in a folder name is no part of it.
    const std::size_t dot = text::FindLast(name, '.');
    return (dot == text::npos ? name : name.substr(0, dot)) + texts::kDrawingExtension;
}

}  // namespace velmarin::bom
