// The analysis without the host: format stripping, the grid, cells from corners and the layout.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/GbkTexts.h"
#include "bom/BomTable.h"
#include "bom/BomWorkspace.h"

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
        EXPECT_EQ(BomWorkspace::StripMTextFormat(c.contents), c.expected) << c.contents;
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
    Layout() { bom.columnTitles().assign(kColumnKinds, ""); }
    void title(int kind, const std::string& text) { bom.columnTitles()[kind - 1] = text; }
    const std::vector<std::string>& slot(int index) { return bom.columnValues()[index]; }

    BomWorkspace bom;
};

TEST_F(Layout, TitlesAlongTheLowestRowGiveOneBomRowPerBand) {
    title(2, kItemNo);
    title(6, kPartName);
    title(3, kQuantity);
    bom.AddText(kItemNo, 1, 1);
    bom.AddText(kPartName, 1, 2);
    bom.AddText(kQuantity, 1, 3);
    bom.AddText("1", 2, 1);
    bom.AddText(kBolt, 2, 2);
    bom.AddText("4", 2, 3);
    bom.gridY() = {0, 8, 16};

    bom.AssignColumnKinds();
    bom.DistributeTexts();
    bom.BuildBomRows("D:\\w\\A.bmf");

    EXPECT_EQ(bom.headerTexts(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(slot(1), (std::vector<std::string>{kItemNo, "1"}));
    EXPECT_EQ(slot(5), (std::vector<std::string>{kPartName, kBolt}));
    EXPECT_EQ(slot(7), (std::vector<std::string>{kQuantity, "4"}));
    ASSERT_EQ(bom.rows().size(), 2u);
    EXPECT_EQ(bom.rows()[0].itemNo, kItemNo);
    EXPECT_EQ(bom.rows()[1].itemNo, "1");
    EXPECT_EQ(bom.rows()[1].partName, kBolt);
    EXPECT_EQ(bom.rows()[1].quantity, "4");
    EXPECT_EQ(bom.rows()[1].id, "");
    EXPECT_EQ(bom.rows()[1].drawingName, "A.dwg");
    EXPECT_EQ(bom.rows()[1].bomPath, "D:\\w\\A.bmf");
}

TEST_F(Layout, TitlesDownAColumnJoinEachKindInItsRow) {
    title(2, kItemNo);
    title(6, kPartName);
    bom.AddText(kItemNo, 1, 1);
    bom.AddText(kPartName, 2, 1);
    bom.AddText("A", 1, 2);
    bom.AddText("B", 1, 3);
    bom.AddText("C", 2, 2);

    bom.AssignColumnKinds();
    bom.DistributeTexts();

    EXPECT_EQ(slot(1), (std::vector<std::string>{std::string(kItemNo) + "AB"}));
    EXPECT_EQ(slot(5), (std::vector<std::string>{"", std::string(kPartName) + "C"}));
}

TEST(LayoutEquivalence, AgreesWithEveryCellAgainstEveryHeader) {
    const char* const words[] = {"A", "B", "C", "D", "", "x", "y"};
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        BomWorkspace bom;
        for (int t = 0; t < kColumnKinds; ++t) {
            // Titles repeat and some are empty, so cells match several titles or none.
            bom.columnTitles().push_back(random() % 3 == 0 ? words[random() % 5] : "");
        }
        const int count = static_cast<int>(random() % 25);
        for (int i = 0; i < count; ++i) {
            bom.AddText(words[random() % std::size(words)], 1 + static_cast<int>(random() % 4),
                         1 + static_cast<int>(random() % 4));
        }
        std::vector<TextInfo> expected = bom.texts();
        std::vector<int> expectedHeaders;
        ReferenceAssign(expected, bom.columnTitles(), expectedHeaders);

        bom.AssignColumnKinds();
        ASSERT_EQ(bom.headerTexts(), expectedHeaders) << "round " << round;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(bom.texts()[i].kind, expected[i].kind) << "round " << round << " cell " << i;
        }
    }
}

TEST(PutCell, PadsJoinsAndIgnoresCellsWithoutARow) {
    std::vector<std::string> list{"a", "b"};
    BomWorkspace::PutCell(list, "t", 5);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "", "", "t"}));
    BomWorkspace::PutCell(list, "B", 1);
    BomWorkspace::PutCell(list, "'", 1);
    EXPECT_EQ(list[0], "aB'");
    BomWorkspace::PutCell(list, "lost", 0);
    BomWorkspace::PutCell(list, "lost", -3);
    EXPECT_EQ(list.size(), 5u);
}

TEST(BuildBomRows, DrawingNameAndRowCount) {
    const struct {
        std::string path;
        std::string drawingName;
    } names[] = {
        {"D:\\w\\A.bmf", "A.dwg"},
        {"A.bmf", "A.dwg"},
        {"D:\\w\\x.y.bmf", "x.y.dwg"},
        {"D:\\w\\noext", ".dwg"},
        {"D:\\a.b\\c", ".dwg"},
        {"", ".dwg"},
        {"D:\\w\\\x95\x5C.bmf", "\x95\x5C.dwg"},
    };
    for (const auto& n : names) {
        BomWorkspace bom;
        bom.gridY() = {0, 1};
        bom.BuildBomRows(n.path);
        ASSERT_EQ(bom.rows().size(), 1u);
        EXPECT_EQ(bom.rows()[0].drawingName, n.drawingName) << n.path;
    }

    BomWorkspace bom;
    bom.columnValues()[5] = {"a"};
    bom.gridY() = {0};
    bom.BuildBomRows("p.bmf");
    EXPECT_TRUE(bom.rows().empty());
    bom.gridY() = {0, 1, 2, 3};
    bom.BuildBomRows("p.bmf");
    ASSERT_EQ(bom.rows().size(), 3u);  // appended after whatever rows were there
    EXPECT_EQ(bom.rows()[0].partName, "a");
    EXPECT_EQ(bom.rows()[2].partName, "");
}

TEST(AnalyseTable, TextsOnLinesOutsideOrWithoutCoordinatesMakeNoCell) {
    BomWorkspace bom;
    bom.columnTitles().assign(kColumnKinds, "");
    bom::TableGeometry table;
    table.gridPoints = {{0, 0, 0}, {10, 0, 0}, {20, 10, 0}, {0, 20, 0}};
    table.texts = {{"in", {12, 3, 0}},   {"line", {10, 3, 0}},  {"left", {-1, 3, 0}},
                   {"high", {5, 21, 0}}, {"nan", {kNaN, 3, 0}}, {"inf", {5, kInf, 0}},
                   {"in2", {1, 19, 0}}};
    bom.AnalyseTable(table, "D:\\t.bmf");
    EXPECT_EQ(bom.gridX(), (std::vector<double>{0, 10, 20}));
    EXPECT_EQ(bom.gridY(), (std::vector<double>{0, 10, 20}));
    ASSERT_EQ(bom.texts().size(), 2u);
    EXPECT_EQ(bom.texts()[0].text, "in");
    EXPECT_EQ(bom.texts()[0].column, 2);
    EXPECT_EQ(bom.texts()[0].row, 1);
    EXPECT_EQ(bom.texts()[1].row, 2);
    EXPECT_EQ(bom.rows().size(), 2u);
}

TEST(AnalyseTable, AMillionGridPoints) {
    BomWorkspace bom;
    bom.columnTitles().assign(kColumnKinds, "");
    bom.columnTitles()[5] = kPartName;
    bom::TableGeometry table;
    table.gridPoints.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        table.gridPoints.push_back({static_cast<double>(i), static_cast<double>(i % 1000), 0});
    }
    table.texts = {{kPartName, {1.5, 0.5, 0}}, {"x", {1.5, 998.5, 0}}, {"y", {999998.5, 2, 0}}};
    EXPECT_EQ(bom.AnalyseTable(table, "D:\\t.bmf"), 999);
    EXPECT_EQ(bom.gridX().size(), 1000000u);
    ASSERT_EQ(bom.texts().size(), 2u);  // (999998.5, 2) lies on the line y = 2
    EXPECT_EQ(bom.texts()[1].column, 2);
    EXPECT_EQ(bom.texts()[1].row, 999);
    EXPECT_EQ(bom.rows()[998].partName, "x");
}

TEST(AnalyseTable, RandomTablesKeepEveryCellInsideTheGrid) {
    const double coordinates[] = {0, 1, 2.5, 4, -3, 1e9, kNaN, kInf, -kInf, -0.0};
    const std::string words[] = {kPartName, kItemNo, kQuantity, "", "v", "\\"};
    std::mt19937 random(5);
    for (int round = 0; round < 500; ++round) {
        BomWorkspace bom;
        bom.columnTitles().assign(kColumnKinds, "");
        bom.columnTitles()[1] = kItemNo;
        bom.columnTitles()[5] = kPartName;
        bom.columnTitles()[2] = round % 2 ? kQuantity : kPartName;  // a repeated title
        bom::TableGeometry table;
        for (int k = random() % 12; k > 0; --k) {
            table.gridPoints.push_back({coordinates[random() % std::size(coordinates)],
                                        coordinates[random() % std::size(coordinates)], 0});
        }
        for (int k = random() % 30; k > 0; --k) {
            table.texts.push_back({words[random() % std::size(words)],
                                   {coordinates[random() % std::size(coordinates)] + 0.5,
                                    coordinates[random() % std::size(coordinates)] + 0.5, 0}});
        }
        const int rows = bom.AnalyseTable(table, "D:\\r.bmf");
        const int bands = bom.gridY().size() < 2 ? 0 : static_cast<int>(bom.gridY().size()) - 1;
        ASSERT_EQ(rows, bom.texts().empty() ? 0 : bands);
        for (const TextInfo& cell : bom.texts()) {
            ASSERT_GE(cell.row, 1);
            ASSERT_LE(cell.row, bands);
            ASSERT_GE(cell.column, 1);
            ASSERT_LT(cell.column, static_cast<int>(bom.gridX().size()));
        }
        for (const auto& list : bom.columnValues()) ASSERT_LE(static_cast<int>(list.size()), bands);
    }
}

}  // namespace
}  // namespace velmarin::bomtest
