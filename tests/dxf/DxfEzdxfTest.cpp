// An independent reader: a DXF file with a proxy parts list written by the emulator is decoded
// by ezdxf into the same polylines and texts as by the emulator. Skipped where no ezdxf is
// installed that reads lightweight polyline records in the layout real files use.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "DxfSupport.h"
#include "host/sim/DrawingFile.h"
#include "host/sim/dxf/File.h"
#include "host/sim/database/SimEntities.h"
#include "platform/Encoding.h"

namespace velmarin::dxftest {
namespace {

namespace fs = std::filesystem;

// Each virtual entity of each proxy of model space, one line apiece.
const char kScript[] = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for proxy in doc.modelspace().query("ACAD_PROXY_ENTITY"):
    for e in proxy.virtual_entities():
        if e.dxftype() == "POLYLINE":
            points = ";".join("%.6f,%.6f,%.6f" % tuple(p) for p in e.points())
            print("polyline %s %s" % (e.dxf.layer, points))
        elif e.dxftype() == "LWPOLYLINE":
            z = e.dxf.elevation
            points = ";".join("%.6f,%.6f,%.6f" % (x, y, z) for x, y in e.get_points("xy"))
            print("polyline %s %s" % (e.dxf.layer, points))
        elif e.dxftype() == "TEXT":
            x, y, z = e.dxf.insert
            print("text %s %.6f,%.6f,%.6f %.6f %s" % (e.dxf.layer, x, y, z, e.dxf.height, e.dxf.text))
        else:
            print("other " + e.dxftype())
)";

// A Python whose ezdxf reads lightweight polyline records as real files store them (a byte
// count first; releases before that read another layout), or "" when there is none.
std::string PythonWithEzdxf() {
    const char* probeScript =
        "import inspect, ezdxf.proxygraphic as p, sys; "
        "sys.exit(0 if 'read_unsigned_long' in inspect.getsource(p.ProxyGraphic.lwpolyline) "
        "else 1)";
    for (const char* python : {"/usr/bin/python3", "python3"}) {
        const std::string probe =
            std::string(python) + " -c \"" + probeScript + "\" >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return python;
    }
    return {};
}

std::string Point(const host::Point3& p) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.6f,%.6f,%.6f", p.x, p.y, p.z);
    return buffer;
}

// The same lines from the emulator's own reading of the file.
std::vector<std::string> OwnReading(const std::string& dxf) {
    std::vector<std::string> lines;
    const auto db = Load(dxf);
    if (!db) return lines;
    for (const host::Entity* entity : ModelSpace(*db)) {
        const auto* proxy = dynamic_cast<const host::sim::SimProxyEntity*>(entity);
        if (proxy == nullptr) continue;
        for (const auto& part : proxy->parts()) {
            const std::string layer = platform::GbkToUtf8(part->layer());
            if (const auto* polyline = dynamic_cast<const host::Polyline*>(part.get())) {
                std::string points;
                for (const host::Point3& p : polyline->points()) {
                    points += (points.empty() ? "" : ";") + Point(p);
                }
                lines.push_back("polyline " + layer + " " + points);
            } else if (const auto* mtext = dynamic_cast<const host::MText*>(part.get())) {
                char height[64];
                std::snprintf(height, sizeof height, "%.6f", mtext->textHeight());
                lines.push_back("text " + layer + " " + Point(mtext->location()) + " " + height +
                                " " + platform::GbkToUtf8(mtext->contents()));
            }
        }
    }
    return lines;
}

std::vector<std::string> EzdxfReading(const std::string& python, const std::string& dxf) {
    const fs::path folder =
        fs::temp_directory_path() / ("velmarin-ezdxf-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "proxy.dxf";
    const fs::path script = folder / "read.py";
    std::ofstream(file, std::ios::binary) << dxf;
    std::ofstream(script, std::ios::binary) << kScript;
    const std::string command = python + " " + script.string() + " " + file.string();
    std::vector<std::string> lines;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::string out;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        EXPECT_EQ(::pclose(pipe), 0) << command;
        for (std::size_t at = 0; at < out.size();) {
            const std::size_t end = out.find('\n', at);
            lines.push_back(out.substr(at, end - at));
            at = end == std::string::npos ? out.size() : end + 1;
        }
    }
    fs::remove_all(folder);
    return lines;
}

TEST(DxfIndependentReader, EzdxfDecodesTheProxyAsTheEmulatorDoes) {
    const std::string python = PythonWithEzdxf();
    if (python.empty()) {
        GTEST_SKIP() << "no python3 with an ezdxf that reads lightweight polyline records";
    }

    const auto drawing = [](const std::string& layer) {
        return R"({"layers": ["0", ")" + layer + R"("], "entities": [
          {"type": "proxy", "parts": [
            {"type": "polyline", "points": [[0, 0], [40, 0], [40, 24], [0, 24], [0, 0]]},
            {"type": "polyline", "points": [[10, 0], [10, 24.5]], "layer": ")" +
               layer + R"("},
            {"type": "mtext", "contents": "\\P序号", "position": [1, 1, 0], "height": 3.5},
            {"type": "mtext", "contents": "O'Ring", "position": [11.25, 17, 0]}]}]})";
    };

    // A drawing of the emulator's own format written as a new DXF file...
    host::sim::SimDatabase fresh;
    std::string error;
    ASSERT_TRUE(host::sim::ReadDrawing(drawing("明细"), "t.dwg", fresh, error)) << error;
    const std::string written = host::sim::WriteDxf(fresh);

    // ...and the same proxy added to a 2013 file (graphics size in group 160) in a western
    // code page.
    host::sim::SimDatabase source;
    ASSERT_TRUE(host::sim::ReadDrawing(drawing("Detail"), "t.dwg", source, error)) << error;
    const auto western = Load(R2000File({}, "ANSI_1252", {"0", "Detail"}, "AC1027"));
    ASSERT_NE(western, nullptr);
    host::DbObject* space = nullptr;
    ASSERT_EQ(western->openObject(space, western->modelSpaceId(), host::OpenMode::ForWrite),
              host::eOk);
    const auto* proxy = source.peekAs<host::sim::SimProxyEntity>(
        source.peekAs<host::sim::SimBlockTableRecord>(source.modelSpaceId())->entityIds().at(0));
    host::Entity* copy = host::sim::Clone(*proxy).release();
    host::ObjectId id = host::kNullId;
    ASSERT_EQ(static_cast<host::BlockTableRecord*>(space)->appendEntity(copy, id), host::eOk);
    copy->close();
    space->close();
    const std::string added = host::sim::WriteDxf(*western);
    EXPECT_NE(added.find("\n160\n"), std::string::npos);

    for (const auto& [dxf, layer] : {std::pair<std::string, std::string>{written, "明细"},
                                     std::pair<std::string, std::string>{added, "Detail"}}) {
        const std::vector<std::string> own = OwnReading(dxf);
        ASSERT_EQ(own.size(), 4u);
        EXPECT_EQ(own[2], "text 0 1.000000,1.000000,0.000000 3.500000 \\P序号");
        EXPECT_EQ(own[1].rfind("polyline " + layer + " ", 0), 0u);
        EXPECT_EQ(EzdxfReading(python, dxf), own);
    }
}

}  // namespace
}  // namespace velmarin::dxftest
