#include "bom/BomTable.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "bom/BomWorkspace.h"

namespace velmarin {
namespace bom {

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

}  // namespace bom

void BomWorkspace::SetGrid(const std::vector<host::Point3>& points) {
    std::vector<double> xs;
    std::vector<double> ys;
    xs.reserve(points.size());
    ys.reserve(points.size());
    for (const host::Point3& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    gridX_ = bom::GridLines(std::move(xs));
    gridY_ = bom::GridLines(std::move(ys));
}

void BomWorkspace::AddCell(const std::string& text, const host::Point3& corner) {
    const int row = bom::IntervalOf(gridY_, corner.y);
    const int column = bom::IntervalOf(gridX_, corner.x);
    // A text on a grid line or outside the grid belongs to no cell: giving it the cell of a
    // neighbour would file its value under a row or column it is not in.
    if (row == 0 || column == 0) {
        strayTexts_.push_back({text, corner});
        return;
    }
    AddText(text, row, column);
}

int BomWorkspace::FinishTable(const std::string& bomPath) {
    if (!texts_.empty()) {
        AssignColumnKinds();
        DistributeTexts();
        BuildBomRows(bomPath);
    }
    return rows_.size() > static_cast<std::size_t>(INT_MAX)
               ? INT_MAX
               : static_cast<int>(rows_.size());
}

int BomWorkspace::AnalyseTable(const bom::TableGeometry& table, const std::string& bomPath) {
    SetGrid(table.gridPoints);
    texts_.reserve(texts_.size() + table.texts.size());
    for (const bom::PlacedText& placed : table.texts) AddCell(placed.text, placed.corner);
    return FinishTable(bomPath);
}

}  // namespace velmarin
