// The analysis without the host: format stripping, the grid, cells from corners and the layout.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/GbkTexts.h"
#include "bom/BomLayout.h"
#include "bom/BomTable.h"
#include "bom/CellText.h"
#include "util/Text.h"

namespace velmarin::bomtest {
namespace {

using namespace testing::gbk;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The analysis as the system's rules word it, one step at a time: the reference that the
// faster implementation must agree with.
void ReferenceInsert(std::vector<double>& grid, double v) {
    for (std::size_t k = 0; k < grid.size(); ++k) {
        if (grid[k] > v) {
            grid.insert(grid.begin() + static_cast<long>(k), v);
            return;
        }
        if (grid[k] == v) return;
    }
    grid.push_back(v);
}

int ReferenceInterval(const std::vector<double>& grid, double v) {
    for (std::size_t k = 0; k + 1 < grid.size(); ++k) {
        if (grid[k] < v && v < grid[k + 1]) return static_cast<int>(k) + 1;
    }
    return 0;
}

void ReferenceAssign(std::vector<TextInfo>& cells, const std::vector<std::string>& titles,
                     std::vector<int>& headers) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t t = 0; t < titles.size(); ++t) {
            if (!titles[t].empty() && cells[i].text == titles[t]) {
                cells[i].kind = static_cast<int>(t) + 1;
                headers.push_back(static_cast<int>(i));
            }
        }
    }
    if (headers.empty()) return;
    bool alongRow = true;
    bool downColumn = false;
    if (headers.size() >= 2) {
        alongRow = cells[headers[1]].row == cells[headers[0]].row;
        downColumn = cells[headers[1]].column == cells[headers[0]].column;
    }
    for (auto& cell : cells) {
        for (int h : headers) {
            if (downColumn && cell.row == cells[h].row) cell.kind = cells[h].kind;
            if (alongRow && cell.column == cells[h].column) cell.kind = cells[h].kind;
        }
    }
}

TEST(StripMTextFormat, KeepsWhatFollowsTheLastCode) {
    const struct {
        std::string contents;
        std::string expected;
    } cases[] = {
        {std::string("\\P") + kItemNo, kItemNo},
        {std::string("\\L") + kRemark, kRemark},
        {std::string("{\\fSimSun;") + kPartName + "}", std::string("SimSun;") + kPartName + "}"},
        {kPartName, kPartName},  // no code: the whole contents
        {"", ""},
        {"\\P", ""},
        {"abc\\", ""},
        // 0x5C as the trail byte of a double-byte character is no backslash.
        {"\\Pab\x95\x5C"
         "cd",
         "ab\x95\x5C"
         "cd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bom::StripMTextFormat(c.contents), c.expected) << c.contents;
    }
}

TEST(StripMTextFormat, AFinalParagraphBreakKeepsTheLastLineThatIsNotEmpty) {
    const struct {
        std::string contents;
        std::string expected;
    } cases[] = {
        {std::string(kBolt) + "\\P", kBolt},
        {std::string("\\P") + kBolt + "\\P\\P", kBolt},
        {std::string(kItemNo) + "\\PNO.", "NO."},
        {std::string(kItemNo) + "\\PNO.\\P", "NO."},
        {"\\P\\P", ""},
        {std::string(kBolt) + "\\L", ""},  // only a paragraph break ends a line
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bom::StripMTextFormat(c.contents), c.expected) << c.contents;
    }
}

TEST(GridLines, SortsAndMergesExactlyEqualValues) {
    // The grid points (10, 0), (0, 0), (10, 5), (0, 5).
    EXPECT_EQ(bom::GridLines({10, 0, 10, 0}), (std::vector<double>{0, 10}));
    EXPECT_EQ(bom::GridLines({0, 0, 5, 5}), (std::vector<double>{0, 5}));
    // No tolerance: values a last bit apart are two lines.
    const double next = std::nextafter(1.0, 2.0);
    EXPECT_EQ(bom::GridLines({next, 1.0, 1.0}).size(), 2u);
    EXPECT_EQ(bom::GridLines({kNaN, 3, kNaN, -kInf}), (std::vector<double>{-kInf, 3}));
}

TEST(GridLines, AgreesWithOneByOneInsertion) {
    const double pool[] = {0.0, -0.0, 1.5, -2, 7, 7.25, kInf, -kInf, 1e308, -1e-308};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<double> values(random() % 40);
        for (double& v : values) v = pool[random() % std::size(pool)];
        std::vector<double> expected;
        for (double v : values) ReferenceInsert(expected, v);
        const std::vector<double> actual = bom::GridLines(values);
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t k = 0; k < actual.size(); ++k) {
            ASSERT_EQ(actual[k], expected[k]);
            ASSERT_EQ(std::signbit(actual[k]), std::signbit(expected[k]));  // first zero kept
        }
    }
}

TEST(IntervalOf, OpenIntervalsOnly) {
    const std::vector<double> columns{0, 10, 30};
    const struct {
        double value;
        int expected;
    } cases[] = {{12, 2}, {5, 1},  {29.999, 2}, {0, 0},    {10, 0},   {30, 0},
                 {-1, 0}, {31, 0}, {kNaN, 0},   {kInf, 0}, {-kInf, 0}};
    for (const auto& c : cases) EXPECT_EQ(bom::IntervalOf(columns, c.value), c.expected) << c.value;
    EXPECT_EQ(bom::IntervalOf({0, 5}, 3), 1);
    EXPECT_EQ(bom::IntervalOf({7}, 7.5), 0);
    EXPECT_EQ(bom::IntervalOf({}, 1), 0);
    EXPECT_EQ(bom::IntervalOf({-kInf, kInf}, 1e300), 1);

    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::vector<double> grid;
        for (int k = random() % 8; k > 0; --k) ReferenceInsert(grid, random() % 20);
        const double v = static_cast<double>(random() % 44) / 2 - 1;
        ASSERT_EQ(bom::IntervalOf(grid, v), ReferenceInterval(grid, v)) << v;
    }
}

class Layout : public ::testing::Test {
  protected:
    Layout() : titles(kColumnKinds, "") {}
    void title(int kind, const std::string& text) { titles[kind - 1] = text; }
    void cell(const std::string& text, int row, int column) {
        cells.push_back({text, column, row, 0});
    }

    ColumnTitles titles;
    std::vector<TextInfo> cells;
};

TEST_F(Layout, TitlesAlongTheLowestRowGiveOneBomRowPerBand) {
    title(2, kItemNo);
    title(6, kPartName);
    title(3, kQuantity);
    cell(kItemNo, 1, 1);
    cell(kPartName, 1, 2);
    cell(kQuantity, 1, 3);
    cell("1", 2, 1);
    cell(kBolt, 2, 2);
    cell("4", 2, 3);

    const std::vector<int> headers = bom::AssignColumnKinds(cells, titles);
    const bom::ColumnValues values = bom::DistributeTexts(cells);
    const std::vector<BomInfo> rows =
        bom::BuildBomRows(values, bom::RowOrder(2, bom::TitleBand(cells, headers)), "D:\\w\\A.bmf");

    EXPECT_EQ(headers, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(values[1], (std::vector<std::string>{kItemNo, "1"}));
    EXPECT_EQ(values[5], (std::vector<std::string>{kPartName, kBolt}));
    EXPECT_EQ(values[7], (std::vector<std::string>{kQuantity, "4"}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].itemNo, kItemNo);
    EXPECT_EQ(rows[1].itemNo, "1");
    EXPECT_EQ(rows[1].partName, kBolt);
    EXPECT_EQ(rows[1].quantity, "4");
    EXPECT_EQ(rows[1].id, "");
    EXPECT_EQ(rows[1].drawingName, "A.dwg");
    EXPECT_EQ(rows[1].bomPath, "D:\\w\\A.bmf");
}

TEST_F(Layout, TitlesDownAColumnJoinEachKindInItsRow) {
    title(2, kItemNo);
    title(6, kPartName);
    cell(kItemNo, 1, 1);
    cell(kPartName, 2, 1);
    cell("A", 1, 2);
    cell("B", 1, 3);
    cell("C", 2, 2);

    const std::vector<int> headers = bom::AssignColumnKinds(cells, titles);
    const bom::ColumnValues values = bom::DistributeTexts(cells);

    EXPECT_EQ(values[1], (std::vector<std::string>{std::string(kItemNo) + "AB"}));
    EXPECT_EQ(values[5], (std::vector<std::string>{"", std::string(kPartName) + "C"}));
    EXPECT_EQ(bom::TitleBand(cells, headers), 1);  // no title row: the bands keep their order
}

// The title row is the band that holds the titles; the other bands follow counted away from it.
TEST(RowOrder, TheTitleBandFirstThenTheBandsAwayFromIt) {
    const struct {
        int bands;
        int titleBand;
        std::vector<int> order;
    } cases[] = {
        {4, 1, {1, 2, 3, 4}},  // titles in the lowest band: as the bands lie
        {4, 4, {4, 3, 2, 1}},  // titles on top: from the top down
        {5, 4, {4, 3, 2, 1, 5}},
        {5, 2, {2, 3, 4, 5, 1}},
        {3, 2, {2, 3, 1}},
        {1, 1, {1}},
        {3, 0, {1, 2, 3}},  // no title row
        {3, 9, {1, 2, 3}},
        {0, 1, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bom::RowOrder(c.bands, c.titleBand), c.order) << c.bands << " " << c.titleBand;
    }
}

TEST(AnalyseTable, TitlesInTheTopBandNameTheRowsBelowThem) {
    ColumnTitles titles(kColumnKinds, "");
    titles[1] = kItemNo;
    titles[2] = kQuantity;
    titles[5] = kPartName;
    // Bands of 8 from y = 0; the titles in the fourth, the highest.
    const std::vector<std::vector<std::string>> bands = {
        {"3", kWasher, "8"}, {"2", kBolt, "8"}, {"1", kShaft, "2"}, {kItemNo, kPartName, kQuantity}};
    bom::TableGeometry table;
    for (int y = 0; y <= 32; y += 8) table.gridPoints.push_back({0, static_cast<double>(y), 0});
    for (int x = 0; x <= 90; x += 30) table.gridPoints.push_back({static_cast<double>(x), 0, 0});
    for (std::size_t b = 0; b < bands.size(); ++b) {
        for (std::size_t c = 0; c < bands[b].size(); ++c) {
            table.texts.push_back({bands[b][c], {30.0 * c + 1, 8.0 * b + 1, 0}});
        }
    }
    const std::vector<BomInfo> rows = bom::AnalyseTable(table, titles, "D:\\w\\A.bmf").rows;
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::vector<std::string>> expected = {
        {kItemNo, kPartName, kQuantity}, {"1", kShaft, "2"}, {"2", kBolt, "8"}, {"3", kWasher, "8"}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ((std::vector<std::string>{rows[r].itemNo, rows[r].partName, rows[r].quantity}),
                  expected[r])
            << r;
    }
}

TEST(LayoutEquivalence, AgreesWithEveryCellAgainstEveryHeader) {
    const char* const words[] = {"A", "B", "C", "D", "", "x", "y"};
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        ColumnTitles titles;
        for (int t = 0; t < kColumnKinds; ++t) {
            // Titles repeat and some are empty, so cells match several titles or none.
            titles.push_back(random() % 3 == 0 ? words[random() % 5] : "");
        }
        std::vector<TextInfo> cells;
        const int count = static_cast<int>(random() % 25);
        for (int i = 0; i < count; ++i) {
            const int row = 1 + static_cast<int>(random() % 4);
            const int column = 1 + static_cast<int>(random() % 4);
            cells.push_back({words[random() % std::size(words)], column, row, 0});
        }
        std::vector<TextInfo> expected = cells;
        std::vector<int> expectedHeaders;
        ReferenceAssign(expected, titles, expectedHeaders);

        const std::vector<int> headers = bom::AssignColumnKinds(cells, titles);
        ASSERT_EQ(headers, expectedHeaders) << "round " << round;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(cells[i].kind, expected[i].kind) << "round " << round << " cell " << i;
        }
    }
}

TEST(PutCell, PadsJoinsAndIgnoresCellsWithoutARow) {
    std::vector<std::string> list{"a", "b"};
    bom::PutCell(list, "t", 5);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "", "", "t"}));
    bom::PutCell(list, "B", 1);
    bom::PutCell(list, "'", 1);
    EXPECT_EQ(list[0], "aB'");
    bom::PutCell(list, "lost", 0);
    bom::PutCell(list, "lost", -3);
    EXPECT_EQ(list.size(), 5u);
}

// Only a "." after the last "\" starts an extension: a name without one keeps its folder.
TEST(BuildBomRows, DetailFilePathDrawingNameAndRowCount) {
    const struct {
        std::string drawing;
        std::string bomPath;
        std::string drawingName;
    } names[] = {
        {"D:\\w\\A.dwg", "D:\\w\\A.bmf", "A.dwg"},
        {"A.dwg", "A.bmf", "A.dwg"},
        {"D:\\w\\x.y.dwg", "D:\\w\\x.y.bmf", "x.y.dwg"},
        {"D:\\w\\noext", "D:\\w\\noext.bmf", "noext.dwg"},
        {"D:\\w.v\\A", "D:\\w.v\\A.bmf", "A.dwg"},
        {"D:\\a.b\\c", "D:\\a.b\\c.bmf", "c.dwg"},
        {"", ".bmf", ".dwg"},
        {"D:\\w\\\x95\x5C.dwg", "D:\\w\\\x95\x5C.bmf", "\x95\x5C.dwg"},
        {"D:\\\x95\x5C.v\\A", "D:\\\x95\x5C.v\\A.bmf", "A.dwg"},  // 0x5C as a trail byte
    };
    for (const auto& n : names) {
        const std::string bomPath = text::ReplaceExtension(n.drawing, ".bmf");
        EXPECT_EQ(bomPath, n.bomPath) << n.drawing;
        const std::vector<BomInfo> rows = bom::BuildBomRows({}, bom::RowOrder(1, 1), bomPath);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].drawingName, n.drawingName) << n.drawing;
    }

    bom::ColumnValues values;
    values[5] = {"a"};
    EXPECT_TRUE(bom::BuildBomRows(values, bom::RowOrder(0, 1), "p.bmf").empty());
    const std::vector<BomInfo> rows = bom::BuildBomRows(values, bom::RowOrder(3, 1), "p.bmf");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].partName, "a");
    EXPECT_EQ(rows[2].partName, "");
}

ColumnTitles NoTitles() { return ColumnTitles(kColumnKinds, ""); }

TEST(AnalyseTable, TextsOnLinesOutsideOrWithoutCoordinatesMakeNoCell) {
    bom::TableGeometry geometry;
    geometry.gridPoints = {{0, 0, 0}, {10, 0, 0}, {20, 10, 0}, {0, 20, 0}};
    geometry.texts = {{"in", {12, 3, 0}},   {"line", {10, 3, 0}},  {"left", {-1, 3, 0}},
                      {"high", {5, 21, 0}}, {"nan", {kNaN, 3, 0}}, {"inf", {5, kInf, 0}},
                      {"in2", {1, 19, 0}}};
    const bom::BomTable table = bom::AnalyseTable(geometry, NoTitles(), "D:\\t.bmf");
    EXPECT_EQ(table.gridX, (std::vector<double>{0, 10, 20}));
    EXPECT_EQ(table.gridY, (std::vector<double>{0, 10, 20}));
    ASSERT_EQ(table.cells.size(), 2u);
    EXPECT_EQ(table.cells[0].text, "in");
    EXPECT_EQ(table.cells[0].column, 2);
    EXPECT_EQ(table.cells[0].row, 1);
    EXPECT_EQ(table.cells[1].row, 2);
    EXPECT_EQ(table.strayTexts.size(), 5u);
    EXPECT_EQ(table.rows.size(), 2u);
}

TEST(AnalyseTable, AMillionGridPoints) {
    ColumnTitles titles = NoTitles();
    titles[5] = kPartName;
    bom::TableGeometry geometry;
    geometry.gridPoints.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        geometry.gridPoints.push_back({static_cast<double>(i), static_cast<double>(i % 1000), 0});
    }
    geometry.texts = {{kPartName, {1.5, 0.5, 0}}, {"x", {1.5, 998.5, 0}}, {"y", {999998.5, 2, 0}}};
    const bom::BomTable table = bom::AnalyseTable(geometry, titles, "D:\\t.bmf");
    EXPECT_EQ(table.rows.size(), 999u);
    EXPECT_EQ(table.gridX.size(), 1000000u);
    ASSERT_EQ(table.cells.size(), 2u);  // (999998.5, 2) lies on the line y = 2
    EXPECT_EQ(table.cells[1].column, 2);
    EXPECT_EQ(table.cells[1].row, 999);
    EXPECT_EQ(table.rows[998].partName, "x");
}

TEST(AnalyseTable, RandomTablesKeepEveryCellInsideTheGrid) {
    const double coordinates[] = {0, 1, 2.5, 4, -3, 1e9, kNaN, kInf, -kInf, -0.0};
    const std::string words[] = {kPartName, kItemNo, kQuantity, "", "v", "\\"};
    std::mt19937 random(5);
    for (int round = 0; round < 500; ++round) {
        ColumnTitles titles = NoTitles();
        titles[1] = kItemNo;
        titles[5] = kPartName;
        titles[2] = round % 2 ? kQuantity : kPartName;  // a repeated title
        bom::TableGeometry geometry;
        for (int k = random() % 12; k > 0; --k) {
            geometry.gridPoints.push_back({coordinates[random() % std::size(coordinates)],
                                           coordinates[random() % std::size(coordinates)], 0});
        }
        for (int k = random() % 30; k > 0; --k) {
            geometry.texts.push_back({words[random() % std::size(words)],
                                      {coordinates[random() % std::size(coordinates)] + 0.5,
                                       coordinates[random() % std::size(coordinates)] + 0.5, 0}});
        }
        const bom::BomTable table = bom::AnalyseTable(geometry, titles, "D:\\r.bmf");
        const int bands = table.gridY.size() < 2 ? 0 : static_cast<int>(table.gridY.size()) - 1;
        ASSERT_EQ(static_cast<int>(table.rows.size()), table.cells.empty() ? 0 : bands);
        for (const TextInfo& cell : table.cells) {
            ASSERT_GE(cell.row, 1);
            ASSERT_LE(cell.row, bands);
            ASSERT_GE(cell.column, 1);
            ASSERT_LT(cell.column, static_cast<int>(table.gridX.size()));
        }
        ASSERT_EQ(table.cells.size() + table.strayTexts.size(), geometry.texts.size());
    }
}

}  // namespace
}  // namespace velmarin::bomtest
