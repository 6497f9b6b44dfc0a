// Load throughput of the INI document model, and how its time scales with the input: a file
// twice as large, and a single section twice as long (the repeated-key rule must not look back
// over all earlier records). Files are served from memory so that the parser alone is measured.

#include <benchmark/benchmark.h>
#include <time.h>

#include <string>

#include "ini/IniDocument.h"
#include "support/MemoryPlatform.h"

namespace {

using velmarin::IniDocument;
using velmarin::testing::MemoryPlatform;

constexpr char kPath[] = "D:\\bench.ini";
constexpr std::size_t kMegabyte = 1024 * 1024;

// An operation script of about `bytes` bytes: sections of 100 records of drawing paths.
std::string ScriptOfSize(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 256);
    for (int section = 0; text.size() < bytes; ++section) {
        text += "[OpenFile" + std::to_string(section) + "]\r\n";
        for (int record = 0; record < 100 && text.size() < bytes; ++record) {
            text += "File" + std::to_string(record) + " = D:\\Work\\Project\\drawing_" +
                    std::to_string(section) + "_" + std::to_string(record) + ".dwg\r\n";
        }
    }
    return text;
}

std::string SectionOfRecords(int records) {
    std::string text = "[Download]\r\n";
    for (int record = 0; record < records; ++record) {
        text += "Key" + std::to_string(record) + "=D:\\W\\a.dwg < /srv/a.dwg\r\n";
    }
    return text;
}

// CPU time of this thread: the machine is shared, and wall time would count the others' work.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double SecondsToLoad(MemoryPlatform& os, const std::string& text) {
    os.files[kPath] = text;
    IniDocument ini;
    const double start = ThreadSeconds();
    ini.Load(kPath);
    benchmark::DoNotOptimize(ini.GetSectionCount());
    return ThreadSeconds() - start;
}

void BM_LoadFile(benchmark::State& state) {
    MemoryPlatform os;
    os.files[kPath] = ScriptOfSize(static_cast<std::size_t>(state.range(0)) * kMegabyte);
    for (auto _ : state) {
        IniDocument ini;
        benchmark::DoNotOptimize(ini.Load(kPath));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(os.files[kPath].size()));
}
BENCHMARK(BM_LoadFile)->Arg(1)->Arg(2)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_LoadOneSection(benchmark::State& state) {
    MemoryPlatform os;
    os.files[kPath] = SectionOfRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        IniDocument ini;
        benchmark::DoNotOptimize(ini.Load(kPath));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(os.files[kPath].size()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadOneSection)->Arg(500000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// CPU time of the larger input over CPU time of the smaller one, alternating the two loads so that
// both meet the same machine state: 2.0 is linear scaling.
void ReportRatio(benchmark::State& state, const std::string& small, const std::string& large) {
    MemoryPlatform os;
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += SecondsToLoad(os, small);
        largeSeconds += SecondsToLoad(os, large);
    }
    state.counters["ratio"] = largeSeconds / smallSeconds;
    state.counters["small_MB_per_s"] = static_cast<double>(small.size()) *
                                       static_cast<double>(state.iterations()) / smallSeconds /
                                       kMegabyte;
}

void BM_Ratio_2MB_to_1MB(benchmark::State& state) {
    ReportRatio(state, ScriptOfSize(kMegabyte), ScriptOfSize(2 * kMegabyte));
}
BENCHMARK(BM_Ratio_2MB_to_1MB)->Unit(benchmark::kMillisecond);

void BM_Ratio_1M_to_500k_records(benchmark::State& state) {
    ReportRatio(state, SectionOfRecords(500000), SectionOfRecords(1000000));
}
BENCHMARK(BM_Ratio_1M_to_500k_records)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
