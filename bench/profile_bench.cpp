// Profile-string throughput through the posix platform, as the batch run uses it on the tree
// file: single-value reads of a file of 10,000 and 20,000 keys (a flat ratio shows that a read
// does not scan the file), and reads interleaved with writes, as when BOM rows are linked.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "platform/posix/PosixPlatform.h"

namespace {

namespace fs = std::filesystem;
using velmarin::platform::posix::PosixConfig;
using velmarin::platform::posix::PosixPlatform;

constexpr int kKeysPerSection = 20;  // about one tree node's worth of keys
constexpr char kFile[] = "D:\\VORD\\temp\\sldTree.ini";

struct Drive {
    explicit Drive(int keys) {
        std::string pattern = (fs::temp_directory_path() / "velmarin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        root = pattern;
        fs::create_directories(root + "/VORD/temp");
        std::ofstream out(root + "/VORD/temp/sldTree.ini", std::ios::binary);
        for (int i = 0; i < keys; ++i) {
            if (i % kKeysPerSection == 0) out << "[node" << i / kKeysPerSection << "]\r\n";
            out << "config-Value-" << i % kKeysPerSection << "=D:\\Work\\part_" << i << ".dwg\r\n";
        }
        out.close();
        PosixConfig config;
        config.drives['D'] = root;
        platform = std::make_unique<PosixPlatform>(config);
        // Past the timestamp window, so that reads of the unchanged file are cache hits.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~Drive() {
        platform.reset();
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    std::string root;
    std::unique_ptr<PosixPlatform> platform;
};

std::string SectionOf(int key) { return "node" + std::to_string(key / kKeysPerSection); }
std::string KeyOf(int key) { return "config-Value-" + std::to_string(key % kKeysPerSection); }

void BM_ProfileRead(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    Drive drive(keys);
    char buffer[2600];
    int next = 0;
    for (auto _ : state) {
        const int key = next;
        next = (next + 7919) % keys;  // stride over the whole file
        const std::string section = SectionOf(key);
        const std::string name = KeyOf(key);
        benchmark::DoNotOptimize(drive.platform->getProfileString(section.c_str(), name.c_str(), "",
                                                                  buffer, sizeof buffer, kFile));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["parses"] = static_cast<double>(drive.platform->profileCache().parses());
}
BENCHMARK(BM_ProfileRead)->Arg(10000)->Arg(20000)->Unit(benchmark::kMicrosecond);

// One write of a link key followed by two reads, per BOM row.
void BM_ReadAfterWrite(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    Drive drive(keys);
    char buffer[2600];
    int row = 0;
    for (auto _ : state) {
        const int key = (row * 7919) % keys;
        const std::string section = SectionOf(key);
        const std::string value = "row" + std::to_string(row++);
        drive.platform->writeProfileString(section.c_str(), "Parent", value.c_str(), kFile);
        benchmark::DoNotOptimize(drive.platform->getProfileString(section.c_str(), "Parent", "",
                                                                  buffer, sizeof buffer, kFile));
        benchmark::DoNotOptimize(drive.platform->getProfileString(
            section.c_str(), KeyOf(key).c_str(), "", buffer, sizeof buffer, kFile));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadAfterWrite)->Arg(10000)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
