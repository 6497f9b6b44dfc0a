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
#include "bom/BomWorkspace.h"

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
    return Part<host::MText>([&](host::MText& m) {
        m.setContents(contents);
        m.setLocation({x, y, 0});
    });
}

std::unique_ptr<host::Entity> Polyline(std::vector<host::Point3> points) {
    return Part<host::Polyline>([&](host::Polyline& p) { p.setPoints(points); });
}

std::unique_ptr<host::Entity> Text(const std::string& text, double x, double y) {
    return Part<host::Text>([&](host::Text& t) {
        t.setTextString(text);
        t.setPosition({x, y, 0});
    });
}

// A proxy table on the grid kXs x kYs, one polyline per grid line, and a text "\P<value>" in
// cell cells[row][column] (lowest row first), 1 unit inside the cell's lower-left corner.
std::unique_ptr<host::ProxyEntity> Table(const std::vector<std::vector<std::string>>& cells,
                                         const std::string& className = "AcDbZombieEntity") {
    auto table = std::make_unique<host::ProxyEntity>(className);
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

    int extract() { return bom().ExtractBomTable(selection, kBomFile); }
    BomWorkspace& bom() { return world.bom(); }

    testing::World world;
    host::SelectionSet selection;
};

TEST_F(BomWorld, ThreeBandsGiveTwoRowLinesWithValuesByteForByte) {
    bom().gridY() = kYs;
    bom().columnValues()[0] = {"ID", "7"};
    bom().columnValues()[1] = {kItemNo, "1", "2"};
    bom().columnValues()[5] = {kPartName, "O'Ring", kWasher};
    bom().columnValues()[7] = {kQuantity, "4"};  // shorter than the rows
    bom().columnValues()[9] = {kRemark, " r ", "x"};
    bom().columnValues()[17] = {"TAG NO.", "T1"};
    bom().WriteBomFile(kBomFile);
    EXPECT_EQ(world.readFile(kBomFile),
              kHeader +
                  "'7','','1','4','','','','','O'Ring','','','','','','','','','','','T1','','',"
                  "'','','',' r ','','',''\r\n" +
                  Line({{3, "2"}, {9, kWasher}, {26, "x"}}));
    EXPECT_EQ(world.messages(), (std::vector<std::string>{texts::kBomExtracted}));
}

TEST_F(BomWorld, EveryFieldTakesItsSlotAndFewBandsWriteNoRows) {
    bom().gridY() = {0, 1, 2};
    for (int slot = 0; slot < kColumnKinds; ++slot) {
        bom().columnValues()[slot] = {"", "s" + std::to_string(slot)};
    }
    bom().WriteBomFile(kBomFile);
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

    // Two y values: the titles' band only, with the message; fewer: no message either.
    for (const std::vector<double>& gridY : {std::vector<double>{0, 5}, {0}, {}}) {
        world.notifier().clear();
        bom().gridY() = gridY;
        bom().WriteBomFile(kBomFile);
        EXPECT_EQ(world.readFile(kBomFile), kHeader);
        EXPECT_EQ(world.messages().size(), gridY.size() == 2 ? 1u : 0u);
    }
}

TEST_F(BomWorld, AFailedWriteIsReportedAndKeepsTheOldFile) {
    bom().gridY().resize(20001);
    for (int i = 0; i < 20001; ++i) {
        bom().gridY()[i] = i;
        bom().columnValues()[5].push_back("part " + std::to_string(i));
    }
    const std::string written = std::string(texts::kWriteFileFailed) + kBomFile;
    const struct {
        const char* fault;
        void (*set)(platform::posix::Faults&);
        std::string message;
    } cases[] = {
        {"cannot create", [](auto& f) { f.failCreateFile = true; }, texts::kCannotCreateFile},
        {"disk full", [](auto& f) { f.diskSpace = 100000; }, written},
        {"cannot rename", [](auto& f) { f.failRename = true; }, written},
    };
    for (const auto& c : cases) {
        world.writeFile(kBomFile, "old");
        world.notifier().clear();
        world.platform().faults() = {};
        c.set(world.platform().faults());
        bom().WriteBomFile(kBomFile);
        EXPECT_EQ(world.readFile(kBomFile), "old") << c.fault;
        EXPECT_EQ(world.messages(), (std::vector<std::string>{c.message})) << c.fault;
    }
    world.platform().faults() = {};
    bom().WriteBomFile(kBomFile);
    const std::string file = world.readFile(kBomFile);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 + 19999);
    const std::string last = Line({{9, "part 19999"}});
    EXPECT_EQ(file.substr(file.size() - last.size()), last);
}

TEST_F(BomWorld, RowsOfOneDrawingFromTheRowList) {
    for (int i = 0; i < 13; ++i) {
        bom().rows().emplace_back();
        bom().rows().back().itemNo = std::to_string(i);
    }
    const struct {
        int count;
        int first;
        std::string rows;
    } cases[] = {
        {3, 10, Line({{3, "11"}}) + Line({{3, "12"}})},
        {5, 10, Line({{3, "11"}}) + Line({{3, "12"}})},  // past the end: no invented rows
        {1, 10, ""},                                     // the first row holds the titles
        {-5, 0, ""},
        {3, 12, ""},
        {3, 40, ""},
        {3, -2, ""},
    };
    for (const auto& c : cases) {
        bom().WriteBomFileRows(c.count, c.first, kBomFile);
        EXPECT_EQ(world.readFile(kBomFile), kHeader + c.rows) << c.count << " " << c.first;
    }
    EXPECT_TRUE(world.messages().empty());
}

TEST_F(BomWorld, ResetLoadsTheTitlesInKindOrderAndKeepsTheRows) {
    titles({{1, "ID"}, {2, kItemNo}, {18, kRemark}});
    bom().rows().resize(2);
    bom().texts().resize(3);
    bom().gridY() = {1, 2};
    bom().columnValues()[4] = {"x"};
    bom().ResetBom();
    ASSERT_EQ(bom().columnTitles().size(), 18u);
    EXPECT_EQ(bom().columnTitles()[0], "ID");
    EXPECT_EQ(bom().columnTitles()[1], kItemNo);
    EXPECT_EQ(bom().columnTitles()[2], "");  // a key missing from the template
    EXPECT_EQ(bom().columnTitles()[17], kRemark);
    EXPECT_EQ(bom().rows().size(), 2u);
    EXPECT_TRUE(bom().texts().empty() && bom().gridY().empty() && bom().columnValues()[4].empty());

    std::filesystem::remove(world.resolve(texts::kColumnTitleTemplate));
    bom().ResetBom();
    EXPECT_EQ(bom().columnTitles(), std::vector<std::string>(18, ""));
}

TEST_F(BomWorld, OnlyTheFirstTableOfTheSelectionIsAnalysed) {
    add(Text(kPartName, 0, 0));  // a single-line title makes no table
    add(Table({{kPartName, kItemNo}, {"first", "1"}}));
    add(Table({{kPartName}, {"second"}}));
    EXPECT_EQ(extract(), 3);
    EXPECT_EQ(bom().gridY(), kYs);
    EXPECT_EQ(bom().columnValues()[5], (std::vector<std::string>{kPartName, "first"}));
    EXPECT_EQ(bom().rows()[1].itemNo, "1");
    EXPECT_EQ(bom().rows()[1].drawingName, "A.dwg");
}

TEST_F(BomWorld, ProxyClassNames) {
    add(Table({{kPartName}, {"a"}}, "AcDbProxyEntity"));
    add(Table({{kPartName}, {"b"}}, "acdbzombieentity"));  // the test is case-sensitive
    add(Table({{kPartName}, {"c"}}, "MyAcDbZombieEntity2"));
    extract();
    EXPECT_EQ(bom().columnValues()[5], (std::vector<std::string>{kPartName, "c"}));
}

TEST_F(BomWorld, SingleLineTextsAreNeitherTitleNorCell) {
    auto untitled = Table({{kItemNo}, {"1"}});
    untitled->addPart(Text(kPartName, 11, 1));
    add(std::move(untitled));
    EXPECT_EQ(extract(), 0);
    EXPECT_TRUE(bom().texts().empty());

    auto titled = Table({{kPartName}, {"1"}});
    titled->addPart(Text("single", 11, 9));
    add(std::move(titled));
    extract();
    EXPECT_EQ(bom().texts().size(), 2u);
}

TEST_F(BomWorld, BrokenTablesGiveADefinedResult) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string title = std::string("\\P") + kPartName;
    auto noGrid = std::make_unique<host::ProxyEntity>();
    noGrid->addPart(MText(title, 1, 1));
    auto noTexts = std::make_unique<host::ProxyEntity>();
    noTexts->addPart(MText(title, -100, -100));
    noTexts->addPart(Polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}));
    auto lines = std::make_unique<host::ProxyEntity>();
    lines->addPart(MText(title, 1, 1));
    lines->addPart(Part<host::Line>([](host::Line& l) { l.setPoints({0, 0, 0}, {10, 10, 0}); }));
    auto strange = Table({{kPartName}});
    strange->addPart(MText("nan", nan, 1));
    strange->addPart(MText("inf", 1, inf));
    strange->addPart(Polyline({}));
    strange->addPart(Polyline({{nan, nan, 0}}));

    const struct {
        const char* name;
        std::unique_ptr<host::ProxyEntity> table;
        std::size_t gridLines;
        std::size_t cells;
    } cases[] = {{"no polylines", std::move(noGrid), 0, 0},
                 {"no texts in the grid", std::move(noTexts), 2, 0},
                 {"grid of lines", std::move(lines), 0, 0},
                 {"nan and inf", std::move(strange), 4, 1}};
    for (const auto& c : cases) {
        selection.names.clear();
        add(c.table->clone());
        bom().rows().clear();
        EXPECT_EQ(extract(), c.cells == 0 ? 0 : 3) << c.name;
        EXPECT_EQ(bom().gridX().size(), c.gridLines) << c.name;
        EXPECT_EQ(bom().gridY().size(), c.gridLines) << c.name;
        EXPECT_EQ(bom().texts().size(), c.cells) << c.name;
    }
}

TEST_F(BomWorld, WithoutANameTitleNoTableIsRecognised) {
    add(Table({{"", kItemNo}, {"1", "2"}}));  // its empty cell would match an empty title
    for (const std::map<int, std::string>& byKind :
         {std::map<int, std::string>{{2, kItemNo}}, std::map<int, std::string>{}}) {
        titles(byKind);
        EXPECT_EQ(extract(), 0);
    }
    std::filesystem::remove(world.resolve(texts::kColumnTitleTemplate));
    EXPECT_EQ(extract(), 0);
    EXPECT_TRUE(bom().texts().empty() && bom().gridY().empty());
}

TEST_F(BomWorld, SaveBomRuns) {
    add(Table({{kItemNo, kPartName, kQuantity}, {"1", kBolt, "4"}, {"2", kWasher, "8"}}));
    bom().rows().resize(5);
    world.host().queuePick(false);
    commands::savebom(world.vord(), world.bom());
    commands::savebom(world.vord(), world.bom());  // no answer queued: cancelled as well
    EXPECT_EQ(bom().rows().size(), 5u);
    EXPECT_FALSE(world.exists(kBomFile));

    world.host().queuePick(true);
    world.host().queuePick(true);
    commands::savebom(world.vord(), world.bom());
    commands::savebom(world.vord(), world.bom());
    EXPECT_EQ(bom().rows().size(), 3u);  // each run starts from an empty list
    EXPECT_EQ(world.readFile(kBomFile), kHeader + Line({{3, "1"}, {4, "4"}, {9, kBolt}}) +
                                            Line({{3, "2"}, {4, "8"}, {9, kWasher}}));
    EXPECT_EQ(world.messages(), std::vector<std::string>(2, texts::kBomExtracted));

    world.host().closeCurrent();  // no drawing: nothing to pick from
    world.host().queuePick(true);
    commands::savebom(world.vord(), world.bom());
    EXPECT_EQ(world.messages().size(), 2u);
}

}  // namespace
}  // namespace velmarin::bomtest
