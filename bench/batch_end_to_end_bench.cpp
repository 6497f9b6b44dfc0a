// The batch run end to end, as a user runs it: velmarin-host loads the plug-in, logs in through
// the client double and processes N drawings picked in the dialog. Each drawing has a title block
// and a BOM of 20 rows: 10 name other drawings of the batch, 10 are standard parts, so every
// drawing is an assembly and gets its BOM detail file in the one folder of the drawings, which
// ends up holding 2N files. The floor is the same drawings only opened and closed.
//
// Reported: the processor time of the program (user and system), its wall time, the ratio of
// 4,000 to 2,000 drawings (2.0 is linear), wall to processor time and batch to floor.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/BomTables.h"
#include "support/GbkTexts.h"
#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace {

namespace fs = std::filesystem;
namespace texts = velmarin::texts;
namespace testing = velmarin::testing;
using namespace velmarin::testing::gbk;

constexpr int kLinkedRows = 10;
constexpr int kStandardRows = 10;

std::string DrawingPath(int i) { return "D:\\w\\P" + std::to_string(i) + ".dwg"; }

// A drive with the client double, the templates and `drawings` drawing files.
std::unique_ptr<testing::World> MakeProject(int drawings) {
    testing::WorldOptions options;
    auto world = std::make_unique<testing::World>(options);
    fs::create_directories(world->resolve("D:\\w"));
    world->writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=GB-A3.bpt\r\n");
    world->writeFile("D:\\VORD\\source\\BPT\\GB-A3.bpt",
                     testing::TitleBlockTemplate("[Info]\r\nBlockPty=true\r\n"));
    world->writeFile(texts::kColumnTitleTemplate,
                     testing::ColumnTitles({kItemNo, kPartName, kQuantity}));
    for (int i = 0; i < drawings; ++i) {
        testing::DrawingSpec drawing{"P" + std::to_string(i), {{kItemNo, kPartName, kQuantity}}};
        for (int k = 1; k <= kLinkedRows + kStandardRows; ++k) {
            const std::string part = k <= kLinkedRows
                                         ? "P" + std::to_string((i + k) % drawings)
                                         : "STD-" + std::to_string(k);
            drawing.bom.push_back({std::to_string(k), part, std::to_string(k % 5 + 1)});
        }
        world->writeFile(DrawingPath(i), testing::DrawingJson(drawing));
    }
    return world;
}

struct Cost {
    double user = 0;
    double system = 0;
    double wall = 0;
    double cpu() const { return user + system; }
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// Runs the program with `script` and measures it (the shell around it is negligible).
Cost Run(const testing::World& world, const std::string& script) {
    testing::HostRun run = testing::HostRun::For(world);
    run.script = script;
    run.timeoutSeconds = 1800;
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    const testing::HostResult result = run.execute();
    const auto end = std::chrono::steady_clock::now();
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    if (result.exitStatus != 0) std::abort();
    return {Seconds(after.ru_utime) - Seconds(before.ru_utime),
            Seconds(after.ru_stime) - Seconds(before.ru_stime),
            std::chrono::duration<double>(end - start).count()};
}

struct Measured {
    Cost batch;
    Cost floor;
};

Measured Measure(int drawings) {
    const auto world = MakeProject(drawings);
    std::string floor;
    std::string picked = "dialog";
    for (int i = 0; i < drawings; ++i) {
        floor += "open " + DrawingPath(i) + "\nclose\n";
        picked += " " + DrawingPath(i);
    }
    Measured measured;
    measured.floor = Run(*world, floor);
    measured.batch = Run(*world, "loginmethod\n" + picked + "\nVORD_batchchange\nwait 1000\n");
    // Every drawing is an assembly with standard parts left over: each has its detail file.
    for (int i = 0; i < drawings; ++i) {
        if (!world->exists("D:\\w\\P" + std::to_string(i) + ".bmf")) std::abort();
    }
    return measured;
}

void Report(benchmark::State& state, const std::string& prefix, const Measured& m) {
    state.counters[prefix + "cpu_s"] = m.batch.cpu();
    state.counters[prefix + "user_s"] = m.batch.user;
    state.counters[prefix + "system_s"] = m.batch.system;
    state.counters[prefix + "wall_s"] = m.batch.wall;
    state.counters[prefix + "floor_cpu_s"] = m.floor.cpu();
    state.counters[prefix + "wall_to_cpu"] = m.batch.wall / m.batch.cpu();
    state.counters[prefix + "cpu_to_floor"] = m.batch.cpu() / m.floor.cpu();
}

// 2,000 and 4,000 drawings one after the other, so that both meet the same machine state.
void BM_BatchEndToEnd_4000_vs_2000(benchmark::State& state) {
    for (auto _ : state) {
        const Measured small = Measure(2000);
        const Measured large = Measure(4000);
        Report(state, "2000_", small);
        Report(state, "4000_", large);
        state.counters["cpu_ratio"] = large.batch.cpu() / small.batch.cpu();
        state.counters["user_ratio"] = large.batch.user / small.batch.user;
        state.counters["system_ratio"] = large.batch.system / small.batch.system;
        state.counters["floor_ratio"] = large.floor.cpu() / small.floor.cpu();
        state.SetIterationTime(small.batch.wall + large.batch.wall);
    }
}
BENCHMARK(BM_BatchEndToEnd_4000_vs_2000)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void BM_BatchEndToEnd_5000(benchmark::State& state) {
    for (auto _ : state) {
        const Measured m = Measure(5000);
        Report(state, "", m);
        state.SetIterationTime(m.batch.wall);
    }
}
BENCHMARK(BM_BatchEndToEnd_5000)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
