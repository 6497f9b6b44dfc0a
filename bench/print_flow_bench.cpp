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

#include "host/sim/SimHost.h"
#include "platform/RecordingNotifier.h"
#include "platform/SimulatedClock.h"
#include "platform/posix/PosixPlatform.h"
#include "print/PrintFlow.h"

namespace {

namespace fs = std::filesystem;
using namespace velmarin;

constexpr const char kDrawing[] = "D:\\w\\frame.dwg";

// Drive D in a temporary folder and the emulated host.
class Fixture {
  public:
    Fixture() {
        std::string pattern = (fs::temp_directory_path() / "velmarin-print-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        root_ = pattern;
        fs::create_directories(root_ + "/w");
        platform::posix::PosixConfig config;
        config.drives['D'] = root_;
        os_ = std::make_unique<platform::posix::PosixPlatform>(config, notifier_, clock_);
        cad_ = std::make_unique<host::sim::SimHost>(
            [this](const std::string& path) { return os_->resolve(path); });
        platform::install(os_.get());
        host::install(cad_.get());
    }
    ~Fixture() {
        host::install(nullptr);
        platform::install(nullptr);
        cad_.reset();
        os_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // The print flow file of `entries` entries beside a new drawing, made before timing starts.
    void prepare(int entries) {
        std::ofstream file(root_ + "/w/frame.dwg.print.ini", std::ios::binary);
        file << "[CheckField]\r\n";
        for (int i = 0; i < entries; ++i) {
            file << "k" << i << "=" << (i % 400) << "," << (i % 50) << ",3,0,\xC9\xE8\xBC\xC6" << i
                 << "\r\n";
        }
        file.close();
        cad_->newDrawing(kDrawing);
    }
    void finish() {
        if (fs::exists(root_ + "/w/frame.dwg.print.ini")) std::abort();  // not consumed
        cad_->closeCurrent();
    }

  private:
    std::string root_;
    platform::RecordingNotifier notifier_;
    platform::SimulatedClock clock_;
    std::unique_ptr<platform::posix::PosixPlatform> os_;
    std::unique_ptr<host::sim::SimHost> cad_;
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
