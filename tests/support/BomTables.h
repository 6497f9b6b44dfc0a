#pragma once
// Drawing files (the emulator's UTF-8 JSON) with a title block and a BOM table, built from GBK
// texts.

#include <map>
#include <string>
#include <vector>

namespace velmarin::testing {

// A BOM table as the host shows it: a proxy whose parts are the grid polylines and one multiline
// text "\P<cell>" per cell, on columns 30 wide and rows 8 high from (200, 10), the first row (the
// title band) lowest.
std::string BomTableJson(const std::vector<std::vector<std::string>>& rows);

// A drawing: its 图名 (none when empty) and its BOM table, title band first (none when empty).
struct DrawingSpec {
    std::string title;
    std::vector<std::vector<std::string>> bom;
};

// The drawing file: the title block TK-A3 whose TM attribute holds the title, and the table.
std::string DrawingJson(const DrawingSpec& drawing);

// The column-title template with each GBK title configured as itself, in the order given.
std::string ColumnTitles(const std::vector<std::string>& titles);

// The title-block template of TK-A3, whose TM attribute is 图名 (GBK), and `more` after it.
std::string TitleBlockTemplate(const std::string& more);

// The three header lines of a BOM detail file.
std::string BomFileHeader();
// A row line of a BOM detail file from field numbers (1..29) and their values; the other fields
// are empty.
std::string BomFileLine(const std::map<int, std::string>& fields);

}  // namespace velmarin::testing
