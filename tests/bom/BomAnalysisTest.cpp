// The analysis without the host: format stripping, the grid, cells from corners and the layout.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "BomTestTexts.h"
#include "bom/BomTable.h"
#include "util/TdaFunc.h"

namespace velmarin::bomtest {
namespace {

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
        EXPECT_EQ(TdaFunc::StripMTextFormat(c.contents), c.expected) << c.contents;
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
    Layout() { func.columnTitles.assign(kColumnKinds, ""); }
    void title(int kind, const std::string& text) { func.columnTitles[kind - 1] = text; }
    const std::vector<std::string>& slot(int index) { return func.columnValues[index]; }

    TdaFunc func;
};

TEST_F(Layout, TitlesAlongTheLowestRowGiveOneBomRowPerBand) {
    title(2, kItemNo);
    title(6, kPartName);
    title(3, kQuantity);
    func.AddText(kItemNo, 1, 1);
    func.AddText(kPartName, 1, 2);
    func.AddText(kQuantity, 1, 3);
    func.AddText("1", 2, 1);
    func.AddText(kBolt, 2, 2);
    func.AddText("4", 2, 3);
    func.gridY = {0, 8, 16};

    func.AssignColumnKinds();
    func.DistributeTexts();
    func.BuildBomRows("D:\\w\\A.bmf");

    EXPECT_EQ(func.headerTexts, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(slot(1), (std::vector<std::string>{kItemNo, "1"}));
    EXPECT_EQ(slot(5), (std::vector<std::string>{kPartName, kBolt}));
    EXPECT_EQ(slot(7), (std::vector<std::string>{kQuantity, "4"}));
    ASSERT_EQ(func.bomRows.size(), 2u);
    EXPECT_EQ(func.bomRows[0].itemNo, kItemNo);
    EXPECT_EQ(func.bomRows[1].itemNo, "1");
    EXPECT_EQ(func.bomRows[1].partName, kBolt);
    EXPECT_EQ(func.bomRows[1].quantity, "4");
    EXPECT_EQ(func.bomRows[1].id, "");
    EXPECT_EQ(func.bomRows[1].drawingName, "A.dwg");
    EXPECT_EQ(func.bomRows[1].bomPath, "D:\\w\\A.bmf");
}

TEST_F(Layout, TitlesDownAColumnJoinEachKindInItsRow) {
    title(2, kItemNo);
    title(6, kPartName);
    func.AddText(kItemNo, 1, 1);
    func.AddText(kPartName, 2, 1);
    func.AddText("A", 1, 2);
    func.AddText("B", 1, 3);
    func.AddText("C", 2, 2);

    func.AssignColumnKinds();
    func.DistributeTexts();

    EXPECT_EQ(slot(1), (std::vector<std::string>{std::string(kItemNo) + "AB"}));
    EXPECT_EQ(slot(5), (std::vector<std::string>{"", std::string(kPartName) + "C"}));
}

TEST(LayoutEquivalence, AgreesWithEveryCellAgainstEveryHeader) {
    const char* const words[] = {"A", "B", "C", "D", "", "x", "y"};
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        TdaFunc func;
        for (int t = 0; t < kColumnKinds; ++t) {
            // Titles repeat and some are empty, so cells match several titles or none.
            func.columnTitles.push_back(random() % 3 == 0 ? words[random() % 5] : "");
        }
        const int count = static_cast<int>(random() % 25);
        for (int i = 0; i < count; ++i) {
            func.AddText(words[random() % std::size(words)], 1 + static_cast<int>(random() % 4),
                         1 + static_cast<int>(random() % 4));
        }
        std::vector<TextInfo> expected = func.texts;
        std::vector<int> expectedHeaders;
        ReferenceAssign(expected, func.columnTitles, expectedHeaders);

        func.AssignColumnKinds();
        ASSERT_EQ(func.headerTexts, expectedHeaders) << "round " << round;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(func.texts[i].kind, expected[i].kind) << "round " << round << " cell " << i;
        }
    }
}

TEST(PutCell, PadsJoinsAndIgnoresCellsWithoutARow) {
    std::vector<std::string> list{"a", "b"};
    TdaFunc::PutCell(list, "t", 5);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "", "", "t"}));
    TdaFunc::PutCell(list, "B", 1);
    TdaFunc::PutCell(list, "'", 1);
    EXPECT_EQ(list[0], "aB'");
    TdaFunc::PutCell(list, "lost", 0);
    TdaFunc::PutCell(list, "lost", -3);
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
        TdaFunc func;
        func.gridY = {0, 1};
        func.BuildBomRows(n.path);
        ASSERT_EQ(func.bomRows.size(), 1u);
        EXPECT_EQ(func.bomRows[0].drawingName, n.drawingName) << n.path;
    }

    TdaFunc func;
    func.columnValues[5] = {"a"};
    func.gridY = {0};
    func.BuildBomRows("p.bmf");
    EXPECT_TRUE(func.bomRows.empty());
    func.gridY = {0, 1, 2, 3};
    func.BuildBomRows("p.bmf");
    ASSERT_EQ(func.bomRows.size(), 3u);  // appended after whatever rows were there
    EXPECT_EQ(func.bomRows[0].partName, "a");
    EXPECT_EQ(func.bomRows[2].partName, "");
}

TEST(AnalyseTable, TextsOnLinesOutsideOrWithoutCoordinatesMakeNoCell) {
    TdaFunc func;
    func.columnTitles.assign(kColumnKinds, "");
    bom::TableGeometry table;
    table.gridPoints = {{0, 0, 0}, {10, 0, 0}, {20, 10, 0}, {0, 20, 0}};
    table.texts = {{"in", {12, 3, 0}},   {"line", {10, 3, 0}},  {"left", {-1, 3, 0}},
                   {"high", {5, 21, 0}}, {"nan", {kNaN, 3, 0}}, {"inf", {5, kInf, 0}},
                   {"in2", {1, 19, 0}}};
    bom::AnalyseTable(func, table, "D:\\t.bmf");
    EXPECT_EQ(func.gridX, (std::vector<double>{0, 10, 20}));
    EXPECT_EQ(func.gridY, (std::vector<double>{0, 10, 20}));
    ASSERT_EQ(func.texts.size(), 2u);
    EXPECT_EQ(func.texts[0].text, "in");
    EXPECT_EQ(func.texts[0].column, 2);
    EXPECT_EQ(func.texts[0].row, 1);
    EXPECT_EQ(func.texts[1].row, 2);
    EXPECT_EQ(func.bomRows.size(), 2u);
}

TEST(AnalyseTable, AMillionGridPoints) {
    TdaFunc func;
    func.columnTitles.assign(kColumnKinds, "");
    func.columnTitles[5] = kPartName;
    bom::TableGeometry table;
    table.gridPoints.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        table.gridPoints.push_back({static_cast<double>(i), static_cast<double>(i % 1000), 0});
    }
    table.texts = {{kPartName, {1.5, 0.5, 0}}, {"x", {1.5, 998.5, 0}}, {"y", {999998.5, 2, 0}}};
    EXPECT_EQ(bom::AnalyseTable(func, table, "D:\\t.bmf"), 999);
    EXPECT_EQ(func.gridX.size(), 1000000u);
    ASSERT_EQ(func.texts.size(), 2u);  // (999998.5, 2) lies on the line y = 2
    EXPECT_EQ(func.texts[1].column, 2);
    EXPECT_EQ(func.texts[1].row, 999);
    EXPECT_EQ(func.bomRows[998].partName, "x");
}

TEST(AnalyseTable, RandomTablesKeepEveryCellInsideTheGrid) {
    const double coordinates[] = {0, 1, 2.5, 4, -3, 1e9, kNaN, kInf, -kInf, -0.0};
    const char* const words[] = {kPartName, kItemNo, kQuantity, "", "v", "\\"};
    std::mt19937 random(5);
    for (int round = 0; round < 500; ++round) {
        TdaFunc func;
        func.columnTitles.assign(kColumnKinds, "");
        func.columnTitles[1] = kItemNo;
        func.columnTitles[5] = kPartName;
        func.columnTitles[2] = round % 2 ? kQuantity : kPartName;  // a repeated title
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
        const int rows = bom::AnalyseTable(func, table, "D:\\r.bmf");
        const int bands = func.gridY.size() < 2 ? 0 : static_cast<int>(func.gridY.size()) - 1;
        ASSERT_EQ(rows, func.texts.empty() ? 0 : bands);
        for (const TextInfo& cell : func.texts) {
            ASSERT_GE(cell.row, 1);
            ASSERT_LE(cell.row, bands);
            ASSERT_GE(cell.column, 1);
            ASSERT_LT(cell.column, static_cast<int>(func.gridX.size()));
        }
        for (const auto& list : func.columnValues) ASSERT_LE(static_cast<int>(list.size()), bands);
    }
}

}  // namespace
}  // namespace velmarin::bomtest
