#include "bom/BomTable.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "bom/BomLayout.h"

namespace velmarin::bom {

std::vector<double> GridLines(std::vector<double> values) {
    values.erase(
        std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
        values.end());
    // Sorting instead of inserting one by one keeps a large grid at n log n; the stable sort and
    // unique keep the first of equal values, as the one-by-one insertion does.
    std::stable_sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

int IntervalOf(const std::vector<double>& lines, double value) {
    if (lines.size() < 2 || std::isnan(value)) return 0;
    // The first line above the value; the interval below it holds the value unless the value
    // sits on the line beneath.
    const auto above = std::upper_bound(lines.begin(), lines.end(), value);
    if (above == lines.begin() || above == lines.end()) return 0;
    const auto below = above - 1;
    if (!(*below < value)) return 0;
    const auto k = below - lines.begin();
    return k + 1 >= INT_MAX ? 0 : static_cast<int>(k + 1);
}

BomTable AnalyseTable(const TableGeometry& geometry, const ColumnTitles& titles,
                      const std::string& bomPath) {
    BomTable table;
    std::vector<double> xs;
    std::vector<double> ys;
    xs.reserve(geometry.gridPoints.size());
    ys.reserve(geometry.gridPoints.size());
    for (const host::Point3& p : geometry.gridPoints) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    table.gridX = GridLines(std::move(xs));
    table.gridY = GridLines(std::move(ys));

    table.cells.reserve(geometry.texts.size());
    for (const PlacedText& placed : geometry.texts) {
        const int row = IntervalOf(table.gridY, placed.corner.y);
        const int column = IntervalOf(table.gridX, placed.corner.x);
        // A text on a grid line or outside the grid belongs to no cell: giving it the cell of a
        // neighbour would file its value under a row or column it is not in.
        if (row == 0 || column == 0) {
            table.strayTexts.push_back(placed);
            continue;
        }
        table.cells.push_back({placed.text, column, row, 0});
    }
    if (table.cells.empty()) return table;

    table.headers = AssignColumnKinds(table.cells, titles);
    const int bands = static_cast<int>(table.gridY.size()) - 1;
    table.rows = BuildBomRows(DistributeTexts(table.cells),
                              RowOrder(bands, TitleBand(table.cells, table.headers)), bomPath);
    return table;
}

}  // namespace velmarin::bom
