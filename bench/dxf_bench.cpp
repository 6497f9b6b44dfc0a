// Loading large DXF drawings: files of 50 MB and 100 MB made here (lines, texts in GBK,
// polylines, multiline texts, title-block references with attributes, circles the emulator
// keeps as they are, and a proxy parts list now and then) are read into a database. Reported as
// MB/s; the ratio benchmark alternates the two sizes and compares their CPU times: 2.0 is
// linear scaling.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <string>

#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Out.h"
#include "host/sim/dxf/Pairs.h"
#include "host/sim/dxf/ProxyGraphics.h"
#include "host/sim/database/SimDatabase.h"

namespace {

using namespace velmarin;
using host::sim::dxf::DxfFormat;
using host::sim::dxf::DxfOut;
using host::sim::dxf::HandleText;

constexpr double kMegabyte = 1024.0 * 1024.0;
const std::string kFrameLayer = "\xCD\xBC\xBF\xF2\xB2\xE3";                   // 图框层
const std::string kRequirement = "\xBC\xBC\xCA\xF5\xD2\xAA\xC7\xF3\xA3\xBA";  // 技术要求：

std::string ProxyGraphics() {
    std::vector<std::unique_ptr<host::Entity>> parts;
    for (int k = 0; k <= 4; ++k) {
        auto line = std::make_unique<host::sim::SimPolyline>();
        line->setPoints({{0, k * 8.0, 0}, {40, k * 8.0, 0}});
        parts.push_back(std::move(line));
        auto cell = std::make_unique<host::sim::SimMText>();
        cell->setContents("\\P" + std::to_string(k));
        cell->setLocation({1, k * 8.0 + 1, 0});
        parts.push_back(std::move(cell));
    }
    return host::sim::dxf::EncodeProxyGraphics(parts, [](const std::string&) { return -1; });
}

// A 2000-format drawing of about `megabytes` MB in code page 936, with CR LF line ends.
std::string MakeDrawing(int megabytes) {
    DxfFormat format;
    std::string text;
    text.reserve(static_cast<std::size_t>(megabytes * kMegabyte) + 4096);
    DxfOut out(text, format);
    std::uint64_t handle = 0x100;
    const auto next = [&] { return HandleText(handle++); };
    const auto head = [&](const char* type, const std::string& layer) {
        out.raw(0, type);
        out.raw(5, next());
        out.raw(330, "1F");
        out.raw(100, "AcDbEntity");
        out.raw(8, layer);
    };
    out.raw(0, "SECTION");
    out.raw(2, "HEADER");
    out.raw(9, "$ACADVER");
    out.raw(1, "AC1015");
    out.raw(9, "$DWGCODEPAGE");
    out.raw(3, "ANSI_936");
    out.raw(0, "ENDSEC");
    out.raw(0, "SECTION");
    out.raw(2, "BLOCKS");
    out.raw(0, "BLOCK");
    out.raw(2, "TK-A3");
    out.raw(70, "0");
    out.point(10, {0, 0, 0});
    head("LWPOLYLINE", kFrameLayer);
    out.raw(100, "AcDbPolyline");
    out.integer(90, 2);
    out.point(10, {0, 0, 0});
    out.point(10, {180, 56, 0});
    out.raw(0, "ENDBLK");
    out.raw(0, "ENDSEC");
    out.raw(0, "SECTION");
    out.raw(2, "ENTITIES");
    const std::string graphics = ProxyGraphics();
    for (int unit = 0; text.size() < megabytes * kMegabyte; ++unit) {
        const double x = (unit % 1000) * 420.0;
        const double y = (unit / 1000) * 297.0;
        head("LINE", kFrameLayer);
        out.raw(100, "AcDbLine");
        out.point(10, {x, y, 0});
        out.point(11, {x + 420, y + 0.5, 0});
        head("TEXT", "0");
        out.raw(100, "AcDbText");
        out.point(10, {x + 40, y + 80, 0});
        out.number(40, 3.5);
        out.text(1, kRequirement + std::to_string(unit));
        out.raw(100, "AcDbText");
        head("LWPOLYLINE", kFrameLayer);
        out.raw(100, "AcDbPolyline");
        out.integer(90, 4);
        out.integer(70, 1);
        for (const auto& [dx, dy] :
             {std::pair{0.0, 0.0}, {420.0, 0.0}, {420.0, 297.0}, {0.0, 297.0}}) {
            out.number(10, x + dx);
            out.number(20, y + dy);
        }
        head("MTEXT", "0");
        out.raw(100, "AcDbMText");
        out.point(10, {x + 5, y + 5, 0});
        out.number(40, 2.5);
        out.raw(1, "{\\fSimSun;\\P" + kRequirement + "}");
        head("CIRCLE", "0");
        out.raw(100, "AcDbCircle");
        out.point(10, {x + 200, y + 150, 0});
        out.number(40, 12.5);
        head("INSERT", kFrameLayer);
        out.raw(100, "AcDbBlockReference");
        out.integer(66, 1);
        out.raw(2, "TK-A3");
        out.point(10, {x + 240, y, 0});
        for (const char* tag : {"TH", "TM"}) {
            head("ATTRIB", "0");
            out.raw(100, "AcDbText");
            out.point(10, {x + 250, y + 10, 0});
            out.number(40, 5);
            out.raw(1, "GB-" + std::to_string(unit));
            out.raw(100, "AcDbAttribute");
            out.raw(2, tag);
            out.integer(70, 0);
        }
        head("SEQEND", kFrameLayer);
        if (unit % 50 == 0) {
            head("ACAD_PROXY_ENTITY", "0");
            out.raw(100, "AcDbProxyEntity");
            out.integer(90, 498);
            out.integer(92, static_cast<std::int64_t>(graphics.size()));
            out.binary(310, graphics);
        }
    }
    out.raw(0, "ENDSEC");
    out.raw(0, "EOF");
    return text;
}

double SecondsToLoad(const std::string& drawing);

// Made once; loaded once untimed, so that the first timed load does not pay for the process's
// first touch of that much memory.
const std::string& Drawing(int megabytes) {
    static std::map<int, std::string> drawings;
    std::string& drawing = drawings[megabytes];
    if (drawing.empty()) {
        drawing = MakeDrawing(megabytes);
        SecondsToLoad(drawing);
    }
    return drawing;
}

// CPU time of this thread: on a machine shared with other work, wall time mostly measures the
// others.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Loads a copy of the drawing; the copy is not timed.
double SecondsToLoad(const std::string& drawing) {
    std::string bytes = drawing;
    std::string error;
    const double start = ThreadSeconds();
    auto db = host::sim::LoadDxf(std::move(bytes), "bench.dxf", error);
    const double seconds = ThreadSeconds() - start;
    if (db == nullptr) std::abort();  // a drawing that does not load measures nothing
    db.reset();
    return seconds;
}

// Timed by this thread's CPU time of the load alone (manual time).
void BM_LoadDxf(benchmark::State& state) {
    const std::string& drawing = Drawing(static_cast<int>(state.range(0)));
    for (auto _ : state) state.SetIterationTime(SecondsToLoad(drawing));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(drawing.size()));
    state.counters["file_MB"] = static_cast<double>(drawing.size()) / kMegabyte;
}
BENCHMARK(BM_LoadDxf)
    ->Arg(50)
    ->Arg(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Alternates the two sizes so that both meet the same machine state.
void BM_Ratio_100MB_to_50MB(benchmark::State& state) {
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += SecondsToLoad(Drawing(50));
        largeSeconds += SecondsToLoad(Drawing(100));
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["MBps_50MB"] = Drawing(50).size() / kMegabyte / (smallSeconds / runs);
    state.counters["MBps_100MB"] = Drawing(100).size() / kMegabyte / (largeSeconds / runs);
    state.counters["ratio"] = largeSeconds / smallSeconds;
}
BENCHMARK(BM_Ratio_100MB_to_50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
