// velmarin-inspect as its users run it: the installation check against broken installations,
// the pictures it draws, the files it leaves alone and the command lines it refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "DrawingScene.h"
#include "Picture.h"
#include "Report.h"
#include "platform/Encoding.h"
#include "support/BomTables.h"
#include "support/Gbk.h"
#include "support/GbkTexts.h"
#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

namespace fs = std::filesystem;
using namespace gbk;

const std::string kCross = "\xE2\x9C\x97 ";                    // ✗

// A client installation with everything the commands need: client double, vord.ini naming a
// title-block template with one entry, and the column-title template.
void Install(World& world) {
    world.writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=TB.bpt\r\n");
    world.writeFile("D:\\VORD\\source\\BPT\\TB.bpt",
                    "[COUNT]\r\nBLOCKCOUNT=1\r\n[BLOCK1]\r\nBLOCK_NAME=TK-A3\r\nTM=" +
                        kDrawingName + "\r\n");
    world.writeFile("D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt",
                    ColumnTitles({"ID", kItemNo, kPartName, kQuantity}));
}

HostRun Inspector(const World& world) {
    HostRun run = HostRun::For(world);
    run.program = BinaryDir() + "/velmarin-inspect";
    run.passScript = false;
    return run;
}

std::vector<std::string> Crosses(const HostResult& result) {
    std::vector<std::string> crosses;
    for (const std::string& line : result.lines) {
        if (line.rfind(kCross, 0) == 0) crosses.push_back(line);
    }
    return crosses;
}

struct BrokenInstallation {
    const char* name;
    WorldOptions options;
    std::function<void(World&)> breakIt;
    std::string expected;  // the start of the first ✗ line; empty: nothing is missing
    std::size_t crosses;
};

TEST(InspectCheck, EachMissingPieceGivesItsLineAndExitOne) {
    WorldOptions noAppPath;
    noAppPath.registerClient = false;
    WorldOptions elsewhere;
    elsewhere.appPath = "D:\\Elsewhere";
    WorldOptions noClient;
    noClient.installClient = false;
    auto remove = [](const char* path) {
        return [path](World& world) { fs::remove(world.resolve(path)); };
    };
    auto write = [](const char* path, std::string bytes) {
        return [path, bytes](World& world) { world.writeFile(path, bytes); };
    };
    const std::string tb = "D:\\VORD\\source\\BPT\\TB.bpt";
    const std::vector<BrokenInstallation> cases = {
        {"complete", {}, [](World&) {}, "", 0},
        {"no AppPath", noAppPath, write("D:\\registry.ini", "[SOFTWARE\\TORVEL\\VORD]\r\n"),
         "registry value AppPath", 2},
        {"no client folder", elsewhere, [](World&) {}, "client folder D:\\Elsewhere\\ not found", 1},
        {"no library", noClient, [](World&) {}, "client library D:\\VORD\\VORDDll.dll missing", 1},
        {"library does not load", {}, write("D:\\VORD\\VORDDll.dll", "not a library"),
         "client library does not load", 1},
        {"library without entry", {},
         [](World& world) {
             fs::copy_file(NO_ENTRY_LIBRARY, world.resolve("D:\\VORD\\VORDDll.dll"),
                           fs::copy_options::overwrite_existing);
         },
         "client library does not export VORD_Invoke", 1},
        {"no exchange file", {}, remove("D:\\VORD\\VORD.ini"), "exchange file", 1},
        {"no [BPT]", {}, write("D:\\VORD\\VORD.ini", "[DllParam]\r\n"),
         "D:\\VORD\\VORD.ini has no [BPT]", 1},
        {"no template", {}, remove("D:\\VORD\\source\\BPT\\TB.bpt"), "title-block template", 1},
        {"no count", {}, write("D:\\VORD\\source\\BPT\\TB.bpt", "[COUNT]\r\nBLOCKCOUNT=x\r\n"),
         "title-block template: BLOCKCOUNT is \"x\"", 1},
        {"entry without section", {},
         write("D:\\VORD\\source\\BPT\\TB.bpt",
               "[COUNT]\r\nBLOCKCOUNT=2\r\n[BLOCK1]\r\nBLOCK_NAME=A\r\nTM=N\r\n"),
         "BLOCK2: no such section", 1},
        {"text mode without separator", {},
         write("D:\\VORD\\source\\BPT\\TB.bpt",
               "[COUNT]\r\nBLOCKCOUNT=1\r\n[BLOCK1]\r\nBLOCK_NAME=A\r\nTM=N\r\n[Info]\r\n"
               "BlockPty=false\r\n"),
         "title-block mode: title texts", 1},
        {"no column-title template", {}, remove("D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt"),
         "column-title template D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt not found", 1},
        {"no part-name title", {},
         write("D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt", "[TABLE]\r\nID=ID\r\n"),
         "column-title template gives no title for " + Utf8(kPartName), 1},
        {"vord.ini with a UTF-8 mark", {},
         write("D:\\VORD\\VORD.ini", "\xEF\xBB\xBF[BPT]\r\nBPT_NAME=TB.bpt\r\n"),
         "D:\\VORD\\VORD.ini is saved as UTF-8 with a byte-order mark, so the plug-in does not "
         "see the section on its first line", 2},
        {"column titles in UTF-16", {},
         write("D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt",
               std::string("\xFF\xFE[\0T\0A\0B\0L\0E\0]\0", 16)),
         "D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt is saved as UTF-16 with a byte-order mark", 2},
    };
    for (const BrokenInstallation& c : cases) {
        SCOPED_TRACE(c.name);
        World world(c.options);
        Install(world);
        c.breakIt(world);
        HostRun run = Inspector(world);
        run.options = {"--check"};
        const HostResult result = run.execute();
        const std::vector<std::string> crosses = Crosses(result);
        EXPECT_EQ(result.exitStatus, c.expected.empty() ? 0 : 1) << result.out << result.err;
        ASSERT_EQ(crosses.size(), c.crosses) << result.out;
        if (crosses.empty()) continue;
        EXPECT_EQ(crosses.front().rfind(kCross + c.expected, 0), 0u) << crosses.front();
        for (const std::string& line : crosses) EXPECT_NE(line.find(" fix: "), std::string::npos);
    }
}

// A drawing with every kind of entity the picture draws, Chinese texts among them.
const char kDrawing[] = R"({
  "layers": ["0"],
  "blocks": {"TK-A3": [{"type": "polyline", "points": [[0, 0], [180, 0], [180, 56]]}]},
  "entities": [
    {"type": "polyline", "points": [[0, 0], [420, 0], [420, 297], [0, 297], [0, 0]]},
    {"type": "line", "start": [40, 120, 0], "end": [200, 120, 0]},
    {"type": "text", "text": "技术要求 <A&B>", "position": [40, 80, 0], "height": 3.5},
    {"type": "mtext", "contents": "{\\fSimSun;序号}\\P第二行", "position": [50, 50, 0]},
    {"type": "blockref", "block": "TK-A3", "position": [240, 0, 0],
     "attributes": [{"tag": "TM", "text": "总装图"}]},
    {"type": "proxy", "className": "AcDbZombieEntity",
     "parts": [{"type": "mtext", "contents": "名称", "position": [250, 62, 0]}]}
  ]
})";

// The extension points' data, drawn on an empty model space.
std::string OverlayPicture() {
    inspect::Overlays overlays;
    inspect::PartsListReading parts;
    parts.proxyClass = "AcDbZombieEntity";
    parts.gridX = {240, 300, 420};
    parts.gridY = {60, 68, 76};
    parts.columns = {{1, 2, "\xD0\xF2\xBA\xC5", "\xD0\xF2\xBA\xC5"}, {2, 6, kPartName, kPartName}};
    parts.cells = {{1, 1, 2, ""}, {2, 1, 6, ""}, {1, 2, 0, ""}};
    inspect::AddPartsListOverlay(overlays, parts);
    inspect::TitleBlockReading title;
    title.attributes = {{"TM", "A & B", kDrawingName, {300, 20}}};
    inspect::AddTitleBlockOverlay(overlays, title);
    inspect::PrintFlowReading print;
    print.corner = {420, 0};
    print.stamps = {{"\xD2\xD1\xC9\xF3", {320, 20}, 5, 1.0}};  // 已审
    inspect::AddPrintFlowOverlay(overlays, print);
    return inspect::DrawSvg(inspect::Scene{}, overlays, "overlays");
}

struct PictureCase {
    const char* name;
    std::function<std::string(World&, const std::string& svgPath)> draw;  // the SVG text
    std::vector<std::string> shows;  // texts the picture holds as SVG text
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(InspectPicture, RendersWithRsvgConvert) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
    }
    auto program = [](std::string drawing) {
        return [drawing](World& world, const std::string& svg) {
            HostRun run = Inspector(world);
            run.options = {"--svg", svg};
            run.drawings = {drawing};
            const HostResult result = run.execute();
            EXPECT_EQ(result.exitStatus, 0) << result.err;
            return Slurp(svg);
        };
    };
    const std::vector<PictureCase> cases = {
        {"empty drawing", program("D:\\empty.dwg"), {"Model space is empty"}},
        {"every entity kind", program("D:\\drawing.dwg"),
         {"技术要求 &lt;A&amp;B&gt;", "y=\"-3.5\">序号</tspan>", "y=\"0\">第二行</tspan>",
          "总装图", "名称"}},
        {"DXF sample", program(std::string(VELMARIN_DXF_SAMPLES) + "/text_alignments.dxf"),
         {"<text"}},
        {"overlays", [](World&, const std::string&) { return OverlayPicture(); },
         {"frame corner", "图名 = A &amp; B", "已审", "序号", "No title-block value"}},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        Install(world);
        world.writeFile("D:\\empty.dwg", R"({"entities": []})");
        world.writeFile("D:\\drawing.dwg", kDrawing);
        const std::string svgPath = world.root() + "/picture.svg";
        const std::string svg = c.draw(world, svgPath);
        std::ofstream(svgPath, std::ios::binary) << svg;
        for (const std::string& text : c.shows) EXPECT_NE(svg.find(text), std::string::npos) << text;
        const std::string png = world.root() + "/picture.png";
        ASSERT_EQ(std::system(("rsvg-convert -o '" + png + "' '" + svgPath + "'").c_str()), 0);
        EXPECT_EQ(Slurp(png).substr(0, 4), "\x89PNG");
    }
}

struct ReportCase {
    const char* name;
    std::string drawing;             // the drawing file's contents (JSON)
    std::string printFile;           // the print flow file beside it; empty: none
    std::vector<std::string> shows;  // lines of the report (UTF-8)
    std::string path = "D:\\drawings\\A.dwg";  // the extension decides the format
    std::string titleTemplate = {};            // GBK; empty: the installation's
};

// Two references of one title block whose attributes name the same properties, the second
// time in other letter case.
const char kTwoTitleBlocks[] = R"({
  "blocks": {"TK-A3": [{"type": "line", "start": [0, 0, 0], "end": [180, 0, 0]}]},
  "entities": [
    {"type": "blockref", "block": "TK-A3", "position": [12420.801456789, 0, 0],
     "attributes": [{"tag": "TM", "text": "一"}, {"tag": "TH", "text": "H1"},
                    {"tag": "XA", "text": "a"}]},
    {"type": "blockref", "block": "TK-A3", "position": [0, 0, 0],
     "attributes": [{"tag": "TH", "text": "H2"}, {"tag": "TM", "text": "二"},
                    {"tag": "XB", "text": "b"}]}
  ]
})";

// A parts list with a second line of titles (band 2) and a column split off by a line drawn
// through the rows only (x = 80).
const char kSplitTable[] = R"({"entities": [{"type": "proxy", "className": "AcDbZombieEntity",
  "parts": [
    {"type": "polyline", "points": [[0, 0], [100, 0], [100, 32], [0, 32], [0, 0]]},
    {"type": "polyline", "points": [[20, 0], [20, 32]]},
    {"type": "polyline", "points": [[60, 0], [60, 32]]},
    {"type": "polyline", "points": [[80, 8], [80, 32]]},
    {"type": "polyline", "points": [[0, 8], [100, 8]]},
    {"type": "polyline", "points": [[0, 16], [100, 16]]},
    {"type": "polyline", "points": [[0, 24], [100, 24]]},
    {"type": "mtext", "contents": "序号", "position": [1, 1, 0]},
    {"type": "mtext", "contents": "名称", "position": [21, 1, 0]},
    {"type": "mtext", "contents": "数量", "position": [61, 1, 0]},
    {"type": "mtext", "contents": "NO.", "position": [1, 9, 0]},
    {"type": "mtext", "contents": "NAME", "position": [21, 9, 0]},
    {"type": "mtext", "contents": "QTY", "position": [61, 9, 0]},
    {"type": "mtext", "contents": "1", "position": [1, 17, 0]},
    {"type": "mtext", "contents": "轴", "position": [21, 17, 0]},
    {"type": "mtext", "contents": "2", "position": [61, 17, 0]},
    {"type": "mtext", "contents": "A1", "position": [81, 17, 0]},
    {"type": "mtext", "contents": "2", "position": [1, 25, 0]},
    {"type": "mtext", "contents": "螺栓", "position": [21, 25, 0]},
    {"type": "mtext", "contents": "8", "position": [61, 25, 0]},
    {"type": "mtext", "contents": "B2", "position": [81, 25, 0]}
  ]}]})";

// A parts list reaching past x = 5000.
const char kTableAcrossTheWindow[] = R"({"entities": [{"type": "proxy",
  "className": "AcDbZombieEntity", "parts": [
    {"type": "polyline", "points": [[4990, 0], [5030, 0], [5030, 16], [4990, 16], [4990, 0]]},
    {"type": "polyline", "points": [[4990, 8], [5030, 8]]},
    {"type": "mtext", "contents": "名称", "position": [4991, 1, 0]},
    {"type": "mtext", "contents": "轴", "position": [4991, 9, 0]}
  ]}]})";

// A DXF drawing whose title block stands in paper space (group 67 = 1).
const char kLayoutDxf[] =
    "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nTK-A3\n70\n0\n10\n0\n20\n0\n30\n0\n"
    "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n180\n21\n56\n31\n0\n0\nENDBLK\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n0\nINSERT\n67\n1\n8\n0\n2\nTK-A3\n10\n10\n20\n10\n30\n0\n"
    "0\nENDSEC\n0\nEOF\n";

std::string DemoFile(const std::string& name) { return Slurp(std::string(VELMARIN_DEMO) + "/" + name); }

TEST(InspectReport, ShowsWhatThePlugInReads) {
    std::string lowerCase = kDrawing;
    lowerCase.replace(lowerCase.find("\"block\": \"TK-A3\""), 16, "\"block\": \"tk-a3\"");
    lowerCase.replace(lowerCase.find("\"TK-A3\": ["), 7, "\"tk-a3\"");
    const std::vector<ReportCase> cases = {
        {"demo assembly", DemoFile("drawings/GB-1000.dwg"),
         DemoFile("drawings/GB-1000.dwg.print.ini"),
         {"  \"TK-A3\" at (240, 0): matches BLOCK1",
          "    taken: \"TM\" = \"总装图\" → property \"图名\"",
          "    skipped: \"CL\" = \"Q235\": BLOCK1 names no property for the tag",
          "  \"图名\" = \"总装图\"",
          "  column 2: \"名称\" → kind 6 (名称)",
          "  \"'','','1','2','','','','','轴','','','','','','','','','','','','','','','','','','',"
          "'',''\"",
          "Left out without a word: 0",
          "  AcDbPolyline from (0, 0) to (420, 297)",
          "  \"张三\" at (250, 20), height 5, width factor 1"}},
        {"title block name in other letter case", lowerCase, "",
         {"  \"tk-a3\" at (240, 0): no match: only its letter case differs from BLOCK1 (the names "
          "are compared exactly)",
          "Properties for the tree file: 0"}},
        {"no table", R"({"entities": [{"type": "line", "start": [0, 0, 0], "end": [9, 9, 0]}]})",
         "", {"No table: no proxy entity of the table's class was selected."}},
        {"table out of the window",
         R"({"entities": [{"type": "line", "start": [0, 0, 0], "end": [9000, 9, 0]}]})", "",
         {"No table: nothing lies entirely inside the save command's window (-5000, -5000) to "
          "(5000, 5000)."}},
        {"title block in a layout", kLayoutDxf, "",
         {"Block references in layouts: 1 (the plug-in reads model space only: these give no "
          "property)",
          "  *Paper_Space: \"TK-A3\" at (10, 10)", "Properties for the tree file: 0"},
         "D:\\drawings\\A.dxf"},
        {"the tree file's merge, exact numbers", kTwoTitleBlocks, "",
         {"  \"TK-A3\" at (12420.801456789, 0): matches BLOCK1",
          "Properties for the tree file: 3 (of 6 read: a later value replaces an earlier one of "
          "the same name, letter case aside)",
          "  \"图名\" = \"二\"", "  \"图号\" = \"H2\"", "  \"Name\" = \"b\""},
         "D:\\drawings\\A.dwg",
         TitleBlockTemplate(G("TH=图号\r\nXA=Name\r\nXB=NAME\r\n"))},
        {"values escaped", R"({"entities": [{"type": "blockref", "block": "TK-A3",
           "position": [0, 0, 0], "attributes": [{"tag": "TM", "text": "a\"b\\c\r\nd\te"}]}]})",
         "[CheckField]\r\nk=100,20,5,0,\"q\"\r\n",
         {R"(    taken: "TM" = "a\"b\\c\r\nd\te" → property "图名")",
          R"(  "图名" = "a\"b\\c  d\te")",
          R"(  "\"q\"" at (-100, 20), height 5, width factor 1; lands outside the drawing's )"
          "extents"}},
        {"silent drops in the table", kSplitTable, "",
         {"  Band 2, next to the titles, reads like a second line of them (\"NO.\", \"NAME\", "
          "\"QTY\": no number): the detail file gets it as a part.",
          "  Column 4 (x 80 to 100) has no title, as when a line drawn through the rows only "
          "splits a column: its 2 text(s) are left out of the detail file: \"A1\", \"B2\""}},
        {"titles on top",
         DrawingJson({"", {{"1", kShaft}, {"2", kBolt}, {kItemNo, kPartName}}}), "",
         {"Titles in band 3 (the lowest band is 1):",
          "Rows for the BOM detail file as savebom and save write it (a batch run leaves out the "
          "rows it links to a drawing of the batch): 2",
          "Left out without a word: 0"}},
        {"table across the window", kTableAcrossTheWindow, "",
         {"No table: nothing lies entirely inside the save command's window (-5000, -5000) to "
          "(5000, 5000).",
          "  The table in AcDbZombieEntity spans (4990, 0) to (5030, 16), reaching outside (-5000, "
          "-5000) to (5000, 5000): the save command and the batch run skip the whole table; "
          "savebom, given the whole drawing, reads it."}},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        Install(world);
        if (!c.titleTemplate.empty()) {
            world.writeFile("D:\\VORD\\source\\BPT\\TB.bpt", c.titleTemplate);
        }
        world.writeFile(c.path, c.drawing);
        if (!c.printFile.empty()) world.writeFile(c.path + ".print.ini", c.printFile);
        HostRun run = Inspector(world);
        run.drawings = {c.path};
        const HostResult result = run.execute();
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        for (const std::string& line : c.shows) {
            EXPECT_NE(std::find(result.lines.begin(), result.lines.end(), line), result.lines.end())
                << line << "\n" << result.out;
        }
    }
}

struct ChinesePath {
    const char* name;
    std::function<std::string(World&)> drawing;  // writes the drawing, gives the argument
    std::string shown;  // the path as the report shows it (UTF-8), after the root
};

TEST(InspectProgram, ShowsChinesePathsInUtf8WhateverTheirBytes) {
    const char drawing[] =
        R"({"entities": [{"type": "text", "text": "x", "position": [0, 0, 0]}]})";
    const std::vector<ChinesePath> cases = {
        {"Windows path in UTF-8",
         [&](World& world) {
             world.writeFile(G("D:\\t\\乗\\b.dwg"), drawing);
             return std::string("D:\\t\\乗\\b.dwg");
         },
         "D:\\t\\乗\\b.dwg"},
        {"POSIX path in GBK",
         [&](World& world) {
             const std::string path = world.root() + "/" + G("图纸") + ".dwg";
             std::ofstream(path, std::ios::binary) << drawing;
             return path;
         },
         "/图纸.dwg"},
        {"POSIX path in UTF-8",
         [&](World& world) {
             const std::string path = world.root() + "/图纸.dwg";
             std::ofstream(path, std::ios::binary) << drawing;
             return path;
         },
         "/图纸.dwg"},
    };
    for (const ChinesePath& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        Install(world);
        HostRun run = Inspector(world);
        run.options = {"--svg", "D:\\图纸.svg"};  // a Windows path in UTF-8 as well
        run.drawings = {c.drawing(world)};
        const HostResult result = run.execute();
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        const std::string shown = (c.shown[0] == '/' ? world.root() : "") + c.shown;
        EXPECT_TRUE(result.has(shown + ": 1 entities in model space")) << result.out;
        EXPECT_TRUE(result.has("Print flow file: " + shown +
                               ".print.ini does not exist; a load stamps nothing"))
            << result.out;
        EXPECT_TRUE(platform::IsValidUtf8(result.out));
        const std::string picture = world.readFile(G("D:\\图纸.svg"));
        EXPECT_TRUE(platform::IsValidUtf8(picture));
        EXPECT_NE(picture.find("<title>" + shown + "</title>"), std::string::npos);
    }
}

// Every file under `root` with its bytes and modification time.
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const auto stamp = entry.last_write_time().time_since_epoch().count();
        files[entry.path().string()] = std::to_string(stamp) + "|" + Slurp(entry.path().string());
    }
    return files;
}

TEST(InspectProgram, ChangesNoFile) {
    const std::vector<std::vector<std::string>> runs = {
        {"--svg", "OUT", "D:\\drawings\\A.dwg"},
        {"--check"},
    };
    for (const std::vector<std::string>& args : runs) {
        SCOPED_TRACE(args.front());
        World world;
        Install(world);
        world.writeFile("D:\\drawings\\A.dwg", kDrawing);
        world.writeFile("D:\\drawings\\A.dwg.print.ini", "[CheckField]\r\nk=100,20,5,0,x\r\n");
        const std::string out = (fs::temp_directory_path() / "velmarin-inspect-out.svg").string();
        const auto before = Snapshot(world.root());
        HostRun run = Inspector(world);
        for (const std::string& arg : args) run.options.push_back(arg == "OUT" ? out : arg);
        const HostResult result = run.execute();
        fs::remove(out);
        EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
        EXPECT_EQ(Snapshot(world.root()), before);
    }
}

struct BadCommandLine {
    std::vector<std::string> args;
    int status;
    std::string error;  // what the one line on standard error says
};

TEST(InspectProgram, RefusesBadCommandLinesInOneLine) {
    const std::vector<BadCommandLine> cases = {
        {{}, 2, "a DRAWING to inspect is missing"},
        {{"a.dwg", "b.dwg"}, 2, "one DRAWING at a time"},
        {{"--check", "a.dwg"}, 2, "--check takes no DRAWING"},
        {{"--check", "--svg", "o.svg"}, 2, "cannot go with --check"},
        {{"a.dwg", "--svg"}, 2, "--svg needs a value"},
        {{"--module", "m.arx", "a.dwg"}, 2, "unknown option \"--module\""},
        {{"--frobnicate", "a.dwg"}, 2, "unknown option \"--frobnicate\""},
        {{"--drive", "Q=/nonexistent-velmarin-folder", "a.dwg"}, 2, "folder not found"},
        {{"/nonexistent-velmarin-folder/a.dwg"}, 1, "a.dwg"},
    };
    for (const BadCommandLine& c : cases) {
        HostRun run;
        run.program = BinaryDir() + "/velmarin-inspect";
        run.passScript = false;
        run.options = c.args;
        const HostResult result = run.execute();
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_EQ(result.err.rfind("velmarin-inspect: ", 0), 0u);
        EXPECT_NE(result.err.find(c.error), std::string::npos);
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1);
    }
}

}  // namespace
}  // namespace velmarin::testing
