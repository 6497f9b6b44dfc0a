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
#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

namespace fs = std::filesystem;

const std::string kPartName = texts::kPartNameTitleKey;        // 名称 (GBK)
const std::string kDrawingName = texts::kDrawingNameProperty;  // 图名 (GBK)
const std::string kCross = "\xE2\x9C\x97 ";                    // ✗

// A client installation with everything the commands need: client double, vord.ini naming a
// title-block template with one entry, and the column-title template.
void Install(World& world) {
    world.writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=TB.bpt\r\n");
    world.writeFile("D:\\VORD\\source\\BPT\\TB.bpt",
                    "[COUNT]\r\nBLOCKCOUNT=1\r\n[BLOCK1]\r\nBLOCK_NAME=TK-A3\r\nTM=" +
                        kDrawingName + "\r\n");
    world.writeFile("D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt",
                    "[TABLE]\r\nID=ID\r\n" + kPartName + "=" + kPartName + "\r\n");
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
    parts.cells = {{1, 1, 2}, {2, 1, 6}, {1, 2, 0}};
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
         {"技术要求 &lt;A&amp;B&gt;", ">序号</tspan>", ">第二行</tspan>", "总装图", "名称"}},
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
};

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
          "    taken: TM = \"总装图\" → property 图名",
          "    skipped: CL = \"Q235\": BLOCK1 names no property for the tag",
          "  图名 = 总装图",
          "  column 2: \"名称\" → kind 6 (名称)",
          "  '','','','','','','','','轴','','','','','','','','','','','','','','','','','','','',''",
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
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        Install(world);
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
