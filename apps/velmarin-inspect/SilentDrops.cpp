#include "SilentDrops.h"

#include <algorithm>
#include <map>
#include <set>

#include "Shown.h"

namespace velmarin::inspect {
namespace {

using Cell = PartsListReading::Cell;

std::string Range(const std::vector<double>& lines, int index) {
    return ShownNumber(lines[static_cast<std::size_t>(index) - 1]) + " to " +
           ShownNumber(lines[static_cast<std::size_t>(index)]);
}

std::string QuotedList(const std::vector<std::string>& texts) {
    std::string list;
    for (const std::string& text : texts) list += (list.empty() ? "" : ", ") + Quoted(text);
    return list;
}

bool HoldsDigit(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Along the titles and across them: a titled column and a band when the titles run along a
// band, the other way round when they run down a column.
int Across(const PartsListReading& reading, const Cell& cell) {
    return reading.titlesAlongRow ? cell.column : cell.row;
}
int Along(const PartsListReading& reading, const Cell& cell) {
    return reading.titlesAlongRow ? cell.row : cell.column;
}

void TitleBand(const PartsListReading& reading, std::vector<std::string>& out) {
    const char* band = reading.titlesAlongRow ? "Band " : "Column ";
    // The band next to the titles, on the side the rows are counted (below titles that stand on
    // top): a second line of titles (such as NO. NAME QTY under 序号 名称 数量) holds a title of
    // the template or no number.
    const std::vector<double>& lines = reading.titlesAlongRow ? reading.gridY : reading.gridX;
    const int bands = lines.empty() ? 0 : static_cast<int>(lines.size()) - 1;
    const int next =
        reading.titleBand == bands && bands > 1 ? reading.titleBand - 1 : reading.titleBand + 1;
    std::vector<std::string> texts;
    bool templateTitle = false;
    for (const Cell& cell : reading.cells) {
        if (Along(reading, cell) != next) continue;
        texts.push_back(cell.text);
        for (const PartsListReading::Column& column : reading.columns) {
            templateTitle = templateTitle || column.title == cell.text;
        }
    }
    const bool noNumber = texts.size() >= 2 && std::none_of(texts.begin(), texts.end(), HoldsDigit);
    if (texts.empty() || !(templateTitle || noNumber)) return;
    out.push_back(std::string(band) + std::to_string(next) +
                  ", next to the titles, reads like a second line of them (" + QuotedList(texts) +
                  (templateTitle ? ": a title of the column-title template" : ": no number") +
                  "): the detail file gets it as a part.");
}

void UntitledColumns(const PartsListReading& reading, std::vector<std::string>& out) {
    std::set<int> titled;
    for (const PartsListReading::Column& column : reading.columns) titled.insert(column.index);
    std::map<int, std::vector<std::string>> dropped;
    std::map<int, std::string> unknownTitle;  // a text in the title band the template lacks
    for (const Cell& cell : reading.cells) {
        const int index = Across(reading, cell);
        if (cell.kind != 0 || titled.count(index) != 0) continue;
        if (Along(reading, cell) == reading.titleBand) {
            unknownTitle[index] += cell.text;
        } else {
            dropped[index].push_back(cell.text);
        }
    }
    const std::vector<double>& lines = reading.titlesAlongRow ? reading.gridX : reading.gridY;
    for (const auto& [index, texts] : dropped) {
        if (index < 1 || static_cast<std::size_t>(index) >= lines.size()) continue;
        const auto title = unknownTitle.find(index);
        const std::string why =
            title == unknownTitle.end()
                ? "has no title, as when a line drawn through the rows only splits a column"
                : "has the title " + Quoted(title->second) +
                      ", which the column-title template does not give";
        out.push_back(std::string(reading.titlesAlongRow ? "Column " : "Band ") +
                      std::to_string(index) + " (" + (reading.titlesAlongRow ? "x " : "y ") +
                      Range(lines, index) + ") " + why + ": its " + std::to_string(texts.size()) +
                      " text(s) are left out of the detail file: " + QuotedList(texts));
    }
}

}  // namespace

std::vector<std::string> SilentDrops(const PartsListReading& reading) {
    std::vector<std::string> out;
    if (const auto& placed = reading.tableOutsideWindow) {
        const std::string window = ShownNumber(reading.windowHalfSide);
        out.push_back("The table in " + Shown(placed->className) + " spans (" +
                      ShownNumber(placed->extents.min.x) + ", " +
                      ShownNumber(placed->extents.min.y) + ") to (" +
                      ShownNumber(placed->extents.max.x) + ", " +
                      ShownNumber(placed->extents.max.y) + "), reaching outside (-" + window +
                      ", -" + window + ") to (" + window + ", " + window +
                      "): the save command and the batch run skip the whole table; savebom, "
                      "given the whole drawing, reads it.");
    }
    if (reading.missing != PartsListReading::Missing::Nothing) return out;
    if (!reading.columns.empty()) {
        TitleBand(reading, out);
        UntitledColumns(reading, out);
    }
    return out;
}

}  // namespace velmarin::inspect
