// The tree-file side of a batch run: N drawings written as tree nodes with their 图名, then their
// BOM blocks of 20 rows (title band and 19 parts) linked into the tree, the leftover rows written
// to the BOM detail files and the tree file saved. The drawings form an assembly tree of fan-out
// 4, so every drawing but the root is a part in its parent's BOM; the other rows are bought
// parts. The ratio benchmark alternates 1,000 and 2,000 drawings: 2.0 is linear scaling. The
// 5,000-drawing run reports its time and the process's peak memory.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bom/BomTypes.h"
#include "host/Host.h"
#include "bom/BomFile.h"
#include "support/BenchDrive.h"
#include "tree/AssemblyNode.h"
#include "tree/LinkBomToTree.h"
#include "tree/TreeFile.h"
#include "util/FixedTexts.h"

#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using namespace velmarin;

constexpr int kRowsPerDrawing = 20;
constexpr int kFanOut = 4;
constexpr const char kTreeFile[] = "D:\\VORD\\temp\\sldTree.ini";

std::string DrawingPath(int i) { return "D:\\w\\P" + std::to_string(i) + ".dwg"; }
std::string DrawingName(int i) { return "P" + std::to_string(i); }

BomInfo MakeRow(int drawing, const std::string& itemNo, const std::string& partName,
                const std::string& quantity) {
    BomInfo row;
    row.drawingName = "P" + std::to_string(drawing) + ".dwg";
    row.bomPath = "D:\\w\\P" + std::to_string(drawing) + ".bmf";
    row.itemNo = itemNo;
    row.partName = partName;
    row.quantity = quantity;
    return row;
}

// The parts list of every drawing, as the drawings' tables would have given it.
using PartsLists = std::vector<std::vector<BomInfo>>;
PartsLists MakeBom(int drawings) {
    PartsLists lists(static_cast<std::size_t>(drawings));
    for (int i = 0; i < drawings; ++i) {
        std::vector<BomInfo>& rows = lists[static_cast<std::size_t>(i)];
        rows.push_back(MakeRow(i, "\xD0\xF2\xBA\xC5", texts::kPartNameTitleKey,
                               "\xCA\xFD\xC1\xBF"));  // 序号, 名称, 数量
        for (int k = 1; k < kRowsPerDrawing; ++k) {
            const int child = kFanOut * i + k;
            const std::string part = k <= kFanOut && child < drawings
                                         ? DrawingName(child)
                                         : "STD-" + std::to_string(i) + "-" + std::to_string(k);
            rows.push_back(MakeRow(i, std::to_string(k), part, std::to_string(k % 5 + 1)));
        }
    }
    return lists;
}

// Drive D with the client's temp folder and the drawings' folder.
bench::BenchDrive& World() {
    static bench::BenchDrive drive("velmarin-batch-bench", {"VORD/temp", "w"});
    return drive;
}

// Wall-clock and processor seconds of the two phases. On a shared machine the processor time is
// the steadier of the two: it leaves out the time spent waiting for a core.
struct Timing {
    double nodes = 0;    // writing the nodes and the count
    double linking = 0;  // LinkBomToTree, with the BOM detail files, and saving the tree file
    double cpu = 0;      // both phases, processor time in the program (user)
    double system = 0;   // both phases, processor time in the system's file calls
    double total() const { return nodes + linking; }
};

// The thread's processor seconds in the program itself and inside the system. The system's share
// is the file system's: creating, flushing and renaming the detail files beside the drawings.
struct CpuTimes {
    double user = 0;
    double system = 0;
};
CpuTimes CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}

// What the batch does to the tree file for `drawings` drawings: their nodes, the count, the
// linking. The inputs are made before the clocks start.
Timing TimeBatch(int drawings) {
    World();
    PartsLists lists = MakeBom(drawings);
    const CpuTimes cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    TreeFile tree(kTreeFile);
    std::vector<AssemblyNode> nodes(static_cast<std::size_t>(drawings));
    for (int i = 0; i < drawings; ++i) {
        AssemblyNode& node = nodes[static_cast<std::size_t>(i)];
        node.path = DrawingPath(i);
        node.text = "P" + std::to_string(i) + ".dwg";
        node.properties.push_back({texts::kDrawingNameProperty, DrawingName(i), "0"});
        node.WriteNodeSection(tree, i);
    }
    tree.Set(TreeFile::kInfoSection, TreeFile::kCountKey, std::to_string(drawings));
    const auto linking = std::chrono::steady_clock::now();
    LinkBomToTree(nodes, lists, tree);
    if (!bom::WriteDetailFiles(lists)) std::abort();
    std::size_t rowsLeft = 0;
    for (const std::vector<BomInfo>& rows : lists) rowsLeft += rows.size();
    if (!tree.Save()) std::abort();
    const auto end = std::chrono::steady_clock::now();
    const CpuTimes cpuEnd = CpuSeconds();
    // Every drawing but the root is a part of its parent: those rows must have left the lists.
    if (rowsLeft != static_cast<std::size_t>(drawings * kRowsPerDrawing - (drawings - 1))) {
        std::abort();
    }
    return {std::chrono::duration<double>(linking - start).count(),
            std::chrono::duration<double>(end - linking).count(), cpuEnd.user - cpuStart.user,
            cpuEnd.system - cpuStart.system};
}

void BM_BatchTreeFile(benchmark::State& state) {
    const int drawings = static_cast<int>(state.range(0));
    Timing sum;
    for (auto _ : state) {
        const Timing timing = TimeBatch(drawings);
        sum.nodes += timing.nodes;
        sum.linking += timing.linking;
        state.SetIterationTime(timing.total());
    }
    const double runs = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * drawings);
    state.counters["rows"] = drawings * kRowsPerDrawing;
    state.counters["ms_nodes"] = sum.nodes / runs * 1000;
    state.counters["ms_linking"] = sum.linking / runs * 1000;
}
BENCHMARK(BM_BatchTreeFile)
    ->Arg(1000)
    ->Arg(2000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// Alternates the two sizes so that both meet the same machine state.
void BM_Ratio_2000_to_1000_drawings(benchmark::State& state) {
    Timing small;
    Timing large;
    for (auto _ : state) {
        const Timing s = TimeBatch(1000);
        const Timing l = TimeBatch(2000);
        small = {small.nodes + s.nodes, small.linking + s.linking, small.cpu + s.cpu,
                 small.system + s.system};
        large = {large.nodes + l.nodes, large.linking + l.linking, large.cpu + l.cpu,
                 large.system + l.system};
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ms_1000"] = small.total() / runs * 1000;
    state.counters["ms_2000"] = large.total() / runs * 1000;
    state.counters["ratio"] = large.total() / small.total();
    state.counters["cpu_ms_1000"] = small.cpu / runs * 1000;
    state.counters["cpu_ms_2000"] = large.cpu / runs * 1000;
    state.counters["cpu_ratio"] = large.cpu / small.cpu;
    state.counters["system_ms_1000"] = small.system / runs * 1000;
    state.counters["system_ms_2000"] = large.system / runs * 1000;
    state.counters["system_ratio"] = large.system / small.system;
    state.counters["linking_ratio"] = large.linking / small.linking;
}
BENCHMARK(BM_Ratio_2000_to_1000_drawings)->Iterations(2)->Unit(benchmark::kMillisecond);

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// A large project handed over at once: its time and the peak memory of the process.
void BM_Batch_5000_drawings(benchmark::State& state) {
    Timing sum;
    for (auto _ : state) {
        const Timing timing = TimeBatch(5000);
        sum = {sum.nodes + timing.nodes, sum.linking + timing.linking, sum.cpu + timing.cpu,
               sum.system + timing.system};
        state.SetIterationTime(timing.total());
    }
    const double runs = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * 5000);
    state.counters["ms_total"] = sum.total() / runs * 1000;
    state.counters["cpu_ms"] = sum.cpu / runs * 1000;
    state.counters["system_ms"] = sum.system / runs * 1000;
    state.counters["peak_rss_mb"] = PeakMegabytes();
}
BENCHMARK(BM_Batch_5000_drawings)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
