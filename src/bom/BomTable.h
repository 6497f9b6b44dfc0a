#pragma once
// The analysis of one BOM table once its geometry has been read from the drawing: the grid from
// the polylines' points, a cell for each text from its corner, then the layout. None of it needs
// the host, so it runs the same on lists of texts and points in tests and benchmarks.

#include <string>
#include <vector>

#include "bom/BomTypes.h"
#include "host/HostTypes.h"

namespace velmarin::bom {

// A multiline text of the table: its contents after format stripping and the lower-left corner
// of its box.
struct PlacedText {
    std::string text;
    host::Point3 corner;
};

// What the exploded table gives, each list in part order.
struct TableGeometry {
    std::vector<host::Point3> gridPoints;  // the polylines' grip points
    std::vector<PlacedText> texts;         // the multiline texts
};

// An analysed table.
struct BomTable {
    std::vector<double> gridX;  // column lines, ascending
    std::vector<double> gridY;  // row lines, ascending
    std::vector<TextInfo> cells;
    std::vector<int> headers;  // positions in `cells` of the header cells, once per title matched
    std::vector<PlacedText> strayTexts;  // texts on a grid line or outside the grid
    // The title row first, then one row per other band, counted away from it; none without cells.
    std::vector<BomInfo> rows;
};

// The distinct values, ascending, compared exactly (no tolerance). Equal values keep the first
// one met, so -0.0 and 0.0 stay whichever came first. NaN is no line and is dropped.
std::vector<double> GridLines(std::vector<double> values);

// The 1-based number k + 1 of the open interval lines[k] < value < lines[k + 1], or 0 when the
// value lies on a line, outside the outer lines or is NaN (and always with fewer than 2 lines).
int IntervalOf(const std::vector<double>& lines, double value);

// The grid, the cells and, when there are cells, the layout and the rows, whose drawing is the
// one of the detail file `bomPath`.
BomTable AnalyseTable(const TableGeometry& geometry, const ColumnTitles& titles,
                      const std::string& bomPath);

}  // namespace velmarin::bom
