// Stamping throughput of the print flow: a print flow file of N check-field entries applied to a
// drawing, from reading the file to deleting it. Each entry opens the tables and model space
// afresh, so the cost per entry must not grow with the texts already stamped. The ratio benchmark
// alternates 10,000 and 100,000 entries: 10.0 is linear scaling.

#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "print/PrintFlow.h"
#include "support/BenchDrive.h"

namespace {

namespace fs = std::filesystem;
using namespace velmarin;

constexpr const char kDrawing[] = "D:\\w\\frame.dwg";

// Drive D with the drawings' folder.
class Fixture {
  public:
    // The print flow file of `entries` entries beside a new drawing, made before timing starts.
    void prepare(int entries) {
        std::ofstream file(drive_.root() + "/w/frame.dwg.print.ini", std::ios::binary);
        file << "[CheckField]\r\n";
        for (int i = 0; i < entries; ++i) {
            file << "k" << i << "=" << (i % 400) << "," << (i % 50) << ",3,0,\xC9\xE8\xBC\xC6" << i
                 << "\r\n";
        }
        file.close();
        drive_.host().newDrawing(kDrawing);
    }
    void finish() {
        if (fs::exists(drive_.root() + "/w/frame.dwg.print.ini")) std::abort();  // not consumed
        drive_.host().closeCurrent();
    }

  private:
    bench::BenchDrive drive_{"velmarin-print-bench", {"w"}};
};

Fixture& World() {
    static Fixture fixture;
    return fixture;
}

// CPU time of this thread: the machine is shared, and wall time would count the others' work.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double SecondsToStamp(int entries) {
    World().prepare(entries);
    const double start = ThreadSeconds();
    print::ApplyPrintFlow();
    const double seconds = ThreadSeconds() - start;
    World().finish();
    return seconds;
}

void BM_StampPrintFlow(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    for (auto _ : state) state.SetIterationTime(SecondsToStamp(entries));
    state.SetItemsProcessed(state.iterations() * entries);
}
BENCHMARK(BM_StampPrintFlow)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Alternates the two sizes so that both meet the same machine state.
void BM_Ratio_100000_to_10000_entries(benchmark::State& state) {
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += SecondsToStamp(10000);
        largeSeconds += SecondsToStamp(100000);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ms_10000"] = smallSeconds / runs * 1000;
    state.counters["ms_100000"] = largeSeconds / runs * 1000;
    state.counters["ratio"] = largeSeconds / smallSeconds;
}
BENCHMARK(BM_Ratio_100000_to_10000_entries)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
