// Recognition through the emulated host, the BOM detail file on the posix platform, and the
// savebom command: in process on the test world.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "support/GbkTexts.h"
#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "support/BomTables.h"
#include "support/World.h"
#include "util/FixedTexts.h"
#include "bom/BomFile.h"
#include "bom/BomLayout.h"
#include "bom/ColumnTitles.h"
#include "bom/TableSearch.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::bomtest {
namespace {

using namespace testing::gbk;

constexpr const char kBomFile[] = "D:\\w\\A.bmf";
const std::vector<double> kXs{0, 10, 30, 40};
const std::vector<double> kYs{0, 8, 16, 24};
const std::string kHeader = testing::BomFileHeader();
constexpr auto Line = &testing::BomFileLine;

template <typename T, typename... Setup>
std::unique_ptr<T> Part(Setup... setup) {
    auto part = std::make_unique<T>();
    (setup(*part), ...);
    return part;
}

std::unique_ptr<host::Entity> MText(const std::string& contents, double x, double y) {
    return Part<host::sim::SimMText>([&](host::sim::SimMText& m) {
        m.setContents(contents);
        m.setLocation({x, y, 0});
    });
}

std::unique_ptr<host::Entity> Polyline(std::vector<host::Point3> points) {
    return Part<host::sim::SimPolyline>([&](host::sim::SimPolyline& p) { p.setPoints(points); });
}

std::unique_ptr<host::Entity> Text(const std::string& text, double x, double y) {
    return Part<host::sim::SimText>([&](host::Text& t) {
        t.setTextString(text);
        t.setPosition({x, y, 0});
    });
}

// A proxy table on the grid kXs x kYs, one polyline per grid line, and a text "\P<value>" in
// cell cells[row][column] (lowest row first), 1 unit inside the cell's lower-left corner.
std::unique_ptr<host::sim::SimProxyEntity> Table(const std::vector<std::vector<std::string>>& cells,
                                         const std::string& className = "AcDbZombieEntity") {
    auto table = std::make_unique<host::sim::SimProxyEntity>(className);
    for (double y : kYs) table->addPart(Polyline({{kXs.front(), y, 0}, {kXs.back(), y, 0}}));
    for (double x : kXs) table->addPart(Polyline({{x, kYs.front(), 0}, {x, kYs.back(), 0}}));
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            table->addPart(MText("\\P" + cells[r][c], kXs[c] + 1, kYs[r] + 1));
        }
    }
    return table;
}

class BomWorld : public ::testing::Test {
  protected:
    BomWorld() {
        world.createServices();
        world.logIn();
        std::filesystem::create_directories(world.resolve("D:\\w"));
        world.host().newDrawing("D:\\w\\A.dwg");
        titles({{2, kItemNo}, {3, kQuantity}, {6, kPartName}});
    }
    void TearDown() override { EXPECT_EQ(world.host().openObjectCount(), 0); }

    // The column-title template with these titles by kind; the other keys are missing.
    void titles(const std::map<int, std::string>& byKind) {
        std::string ini = "[TABLE]\r\n";
        for (const auto& [kind, title] : byKind) {
            ini += std::string(kColumnKindTable[kind - 1].tableKey) + "=" + title + "\r\n";
        }
        world.writeFile(texts::kColumnTitleTemplate, ini);
    }

    // Appends an entity to model space of the current drawing and to `selection`.
    void add(std::unique_ptr<host::Entity> entity) {
        host::Database& db = *world.host().workingDatabase();
        host::BlockTable* blocks = nullptr;
        host::ObjectId spaceId = host::kNullId;
        ASSERT_EQ(db.getBlockTable(blocks, host::OpenMode::ForRead), host::eOk);
        blocks->getAt(host::kModelSpace, spaceId);
        blocks->close();
        host::Opened<host::BlockTableRecord> space(
            host::openAs<host::BlockTableRecord>(db, spaceId, host::OpenMode::ForWrite));
        ASSERT_TRUE(space);
        host::ObjectId id = host::kNullId;
        host::Entity* resident = entity.release();
        ASSERT_EQ(space->appendEntity(resident, id), host::eOk);
        resident->close();
        selection.names.push_back(id);
    }

    // The table the save would find among the selected entities, analysed.
    bom::BomTable extract() {
        const ColumnTitles titles = bom::ReadColumnTitles();
        return bom::AnalyseTable(bom::FindTable(selection, titles).geometry, titles, kBomFile);
    }
    // The rows of a table of `bands` bands, titles in the lowest, with these values by slot.
    static std::vector<BomInfo> Rows(std::size_t bands, const bom::ColumnValues& values) {
        return bom::BuildBomRows(values, bom::RowOrder(static_cast<int>(bands), 1), kBomFile);
    }

    testing::World world;
    host::SelectionSet selection;
};

TEST_F(BomWorld, ThreeBandsGiveTwoRowLinesWithValuesByteForByte) {
    bom::ColumnValues values;
    values[0] = {"ID", "7"};
    values[1] = {kItemNo, "1", "2"};
    values[5] = {kPartName, "O'Ring", kWasher};
    values[7] = {kQuantity, "4"};  // shorter than the rows
    values[9] = {kRemark, " r ", "x"};
    values[17] = {"TAG NO.", "T1"};
    EXPECT_TRUE(bom::WriteDetailFile(kBomFile, Rows(kYs.size() - 1, values)));
    EXPECT_EQ(world.readFile(kBomFile),
              kHeader +
                  "'7','','1','4','','','','','O'Ring','','','','','','','','','','','T1','','',"
                  "'','','',' r ','','',''\r\n" +
                  Line({{3, "2"}, {9, kWasher}, {26, "x"}}));
    EXPECT_TRUE(world.messages().empty());  // the command tells the user, the writer does not
}

TEST_F(BomWorld, EveryFieldTakesItsSlotAndFewBandsWriteNoRows) {
    bom::ColumnValues values;
    for (int slot = 0; slot < kColumnKinds; ++slot) {
        values[slot] = {"", "s" + std::to_string(slot)};
    }
    bom::WriteDetailFile(kBomFile, Rows(2, values));
    EXPECT_EQ(world.readFile(kBomFile), kHeader + Line({{1, "s0"},
                                                        {3, "s1"},
                                                        {4, "s7"},
                                                        {5, "s3"},
                                                        {7, "s4"},
                                                        {9, "s5"},
                                                        {10, "s6"},
                                                        {11, "s2"},
                                                        {12, "s8"},
                                                        {13, "s10"},
                                                        {14, "s11"},
                                                        {15, "s12"},
                                                        {16, "s13"},
                                                        {17, "s14"},
                                                        {18, "s15"},
                                                        {19, "s16"},
                                                        {20, "s17"},
                                                        {26, "s9"}}));

    // One band, the titles' only, or none: the header alone.
    for (const std::size_t bands : {1u, 0u}) {
        EXPECT_TRUE(bom::WriteDetailFile(kBomFile, Rows(bands, values)));
        EXPECT_EQ(world.readFile(kBomFile), kHeader) << bands;
    }
    EXPECT_TRUE(world.messages().empty());
}

TEST_F(BomWorld, AFailedWriteIsReportedAndKeepsTheOldFile) {
    bom::ColumnValues values;
    for (int i = 0; i < 20001; ++i) values[5].push_back("part " + std::to_string(i));
    const std::vector<BomInfo> rows = Rows(20000, values);
    const std::string written = std::string(texts::kWriteFileFailed) + kBomFile;
    const struct {
        const char* fault;
        void (*set)(platform::shims::Faults&);
        std::string message;
    } cases[] = {
        {"cannot create", [](auto& f) { f.failCreateFile = true; }, texts::kCannotCreateFile},
        {"disk full", [](auto& f) { f.diskSpace = 100000; }, written},
        {"cannot rename", [](auto& f) { f.failCommit = true; }, written},
    };
    for (const auto& c : cases) {
        world.writeFile(kBomFile, "old");
        world.notifier().clear();
        world.faults() = {};
        c.set(world.faults());
        EXPECT_FALSE(bom::WriteDetailFile(kBomFile, rows)) << c.fault;
        EXPECT_EQ(world.readFile(kBomFile), "old") << c.fault;
        EXPECT_EQ(world.messages(), (std::vector<std::string>{c.message})) << c.fault;
    }
    world.faults() = {};
    EXPECT_TRUE(bom::WriteDetailFile(kBomFile, rows));
    const std::string file = world.readFile(kBomFile);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 + 19999);
    const std::string last = Line({{9, "part 19999"}});
    EXPECT_EQ(file.substr(file.size() - last.size()), last);
}

TEST_F(BomWorld, RowsOfOneDrawingAfterItsTitleRow) {
    std::vector<BomInfo> rows(13);
    for (int i = 0; i < 13; ++i) rows[i].itemNo = std::to_string(i);
    const struct {
        std::size_t count;
        std::string rows;
    } cases[] = {
        {3, Line({{3, "1"}}) + Line({{3, "2"}})},
        {1, ""},  // the first row holds the titles
        {0, ""},
    };
    for (const auto& c : cases) {
        bom::WriteDetailFile(kBomFile, std::vector<BomInfo>(rows.begin(), rows.begin() + c.count));
        EXPECT_EQ(world.readFile(kBomFile), kHeader + c.rows) << c.count;
    }
    EXPECT_TRUE(world.messages().empty());
}

TEST_F(BomWorld, TheTitlesAreReadInKindOrder) {
    titles({{1, "ID"}, {2, kItemNo}, {18, kRemark}});
    const ColumnTitles read = bom::ReadColumnTitles();
    ASSERT_EQ(read.size(), 18u);
    EXPECT_EQ(read[0], "ID");
    EXPECT_EQ(read[1], kItemNo);
    EXPECT_EQ(read[2], "");  // a key missing from the template
    EXPECT_EQ(read[17], kRemark);

    std::filesystem::remove(world.resolve(texts::kColumnTitleTemplate));
    EXPECT_EQ(bom::ReadColumnTitles(), std::vector<std::string>(18, ""));
}

TEST_F(BomWorld, OnlyTheFirstTableOfTheSelectionIsAnalysed) {
    add(Text(kPartName, 0, 0));  // a single-line title makes no table
    add(Table({{kPartName, kItemNo}, {"first", "1"}}));
    add(Table({{kPartName}, {"second"}}));
    const bom::BomTable table = extract();
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.gridY, kYs);
    EXPECT_EQ(table.rows[0].partName, kPartName);
    EXPECT_EQ(table.rows[1].partName, "first");
    EXPECT_EQ(table.rows[1].itemNo, "1");
    EXPECT_EQ(table.rows[1].drawingName, "A.dwg");
}

TEST_F(BomWorld, ProxyClassNames) {
    add(Table({{kPartName}, {"a"}}, "AcDbProxyEntity"));
    add(Table({{kPartName}, {"b"}}, "acdbzombieentity"));  // the test is case-sensitive
    add(Table({{kPartName}, {"c"}}, "MyAcDbZombieEntity2"));
    const bom::BomTable table = extract();
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].partName, kPartName);
    EXPECT_EQ(table.rows[1].partName, "c");
}

TEST_F(BomWorld, SingleLineTextsAreNeitherTitleNorCell) {
    auto untitled = Table({{kItemNo}, {"1"}});
    untitled->addPart(Text(kPartName, 11, 1));
    add(std::move(untitled));
    EXPECT_TRUE(extract().rows.empty());
    EXPECT_TRUE(extract().cells.empty());

    auto titled = Table({{kPartName}, {"1"}});
    titled->addPart(Text("single", 11, 9));
    add(std::move(titled));
    EXPECT_EQ(extract().cells.size(), 2u);
}

TEST_F(BomWorld, BrokenTablesGiveADefinedResult) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string title = std::string("\\P") + kPartName;
    auto noGrid = std::make_unique<host::sim::SimProxyEntity>();
    noGrid->addPart(MText(title, 1, 1));
    auto noTexts = std::make_unique<host::sim::SimProxyEntity>();
    noTexts->addPart(MText(title, -100, -100));
    noTexts->addPart(Polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}));
    auto lines = std::make_unique<host::sim::SimProxyEntity>();
    lines->addPart(MText(title, 1, 1));
    lines->addPart(Part<host::sim::SimLine>(
        [](host::sim::SimLine& l) { l.setPoints({0, 0, 0}, {10, 10, 0}); }));
    auto strange = Table({{kPartName}});
    strange->addPart(MText("nan", nan, 1));
    strange->addPart(MText("inf", 1, inf));
    strange->addPart(Polyline({}));
    strange->addPart(Polyline({{nan, nan, 0}}));

    const struct {
        const char* name;
        std::unique_ptr<host::sim::SimProxyEntity> table;
        std::size_t gridLines;
        std::size_t cells;
    } cases[] = {{"no polylines", std::move(noGrid), 0, 0},
                 {"no texts in the grid", std::move(noTexts), 2, 0},
                 {"grid of lines", std::move(lines), 0, 0},
                 {"nan and inf", std::move(strange), 4, 1}};
    for (const auto& c : cases) {
        selection.names.clear();
        add(c.table->clone());
        const bom::BomTable table = extract();
        EXPECT_EQ(table.rows.size(), c.cells == 0 ? 0u : 3u) << c.name;
        EXPECT_EQ(table.gridX.size(), c.gridLines) << c.name;
        EXPECT_EQ(table.gridY.size(), c.gridLines) << c.name;
        EXPECT_EQ(table.cells.size(), c.cells) << c.name;
    }
}

TEST_F(BomWorld, WithoutANameTitleNoTableIsRecognised) {
    add(Table({{"", kItemNo}, {"1", "2"}}));  // its empty cell would match an empty title
    for (const std::map<int, std::string>& byKind :
         {std::map<int, std::string>{{2, kItemNo}}, std::map<int, std::string>{}}) {
        titles(byKind);
        EXPECT_EQ(bom::FindTable(selection, bom::ReadColumnTitles()).outcome,
                  bom::TableSearch::NoTitles);
    }
    std::filesystem::remove(world.resolve(texts::kColumnTitleTemplate));
    const bom::BomTable table = extract();
    EXPECT_TRUE(table.rows.empty() && table.cells.empty() && table.gridY.empty());
}

TEST_F(BomWorld, SaveBomRuns) {
    add(Table({{kItemNo, kPartName, kQuantity}, {"1", kBolt, "4"}, {"2", kWasher, "8"}}));
    world.host().queuePick(false);
    commands::savebom(world.vord());
    commands::savebom(world.vord());  // no answer queued: cancelled as well
    EXPECT_FALSE(world.exists(kBomFile));

    world.host().queuePick(true);
    world.host().queuePick(true);
    commands::savebom(world.vord());
    commands::savebom(world.vord());  // the second run writes the same rows again
    EXPECT_EQ(world.readFile(kBomFile), kHeader + Line({{3, "1"}, {4, "4"}, {9, kBolt}}) +
                                            Line({{3, "2"}, {4, "8"}, {9, kWasher}}));
    EXPECT_EQ(world.messages(), std::vector<std::string>(2, texts::kBomExtracted));

    world.host().closeCurrent();  // no drawing: nothing to pick from
    world.host().queuePick(true);
    commands::savebom(world.vord());
    EXPECT_EQ(world.messages().size(), 2u);
}

}  // namespace
}  // namespace velmarin::bomtest
