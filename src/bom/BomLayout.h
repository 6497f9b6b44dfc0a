#pragma once
// The layout steps of a table's analysis: which cells are headers and which column kind every
// cell takes, the values of each column slot by band, and the rows built from them.

#include <array>
#include <string>
#include <vector>

#include "bom/BomTypes.h"

namespace velmarin::bom {

// The texts of each column slot, by band - 1.
using ColumnValues = std::array<std::vector<std::string>, kColumnKinds>;

// Gives each cell whose text equals a title that title's kind (the last one when it equals
// several), then every cell the kind of the last header it lines up with: in its column when
// the first two headers share a row (a lone header counts as a row of titles), in its row when
// they share a column. Returns the header cells, once per title matched.
std::vector<int> AssignColumnKinds(std::vector<TextInfo>& cells, const ColumnTitles& titles);

// The band holding the titles: the first header's when the titles run along a row; otherwise,
// and without headers, the lowest.
int TitleBand(const std::vector<TextInfo>& cells, const std::vector<int>& headers);

// The texts of the cells that have a kind, in cell order, each in its slot at its band.
ColumnValues DistributeTexts(const std::vector<TextInfo>& cells);

// Puts `text` at position row - 1 of `list`: padded with empty texts up to it, joined to what
// is there already. A row below 1 lies outside every band and changes nothing.
void PutCell(std::vector<std::string>& list, const std::string& text, int row);

// The bands 1..bands as rows: the title band first, then the bands on its longer side counted
// away from it, then those on its shorter side. Titles in the lowest band give 1, 2, ...;
// titles on top give the bands from the top down.
std::vector<int> RowOrder(int bands, int titleBand);

// One row per band of `order`, of the drawing of the detail file `bomPath`.
std::vector<BomInfo> BuildBomRows(const ColumnValues& values, const std::vector<int>& order,
                                  const std::string& bomPath);

// The drawing a detail file belongs to: its file name without the extension, with ".dwg".
std::string DrawingNameOf(const std::string& bomPath);

}  // namespace velmarin::bom
