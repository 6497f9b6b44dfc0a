// BOM extraction of large tables: a table of N rows x 18 columns recognised, gridded, laid out
// and turned into rows, through the emulated host (explode, extents, grip points) and as the
// analysis alone. The ratio benchmark alternates 10,000 and 20,000 rows and compares their CPU
// times: 2.0 is linear scaling.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bom/BomTable.h"
#include "host/Host.h"
#include "util/FixedTexts.h"
#include "bom/ColumnTitles.h"
#include "bom/TableSearch.h"
#include "support/BenchDrive.h"

namespace {

namespace fs = std::filesystem;
using namespace velmarin;

constexpr int kColumns = 18;
constexpr double kCellWidth = 20;
constexpr double kCellHeight = 8;
constexpr const char kBomPath[] = "D:\\w\\T.bmf";

// The value of a cell: the titles in the lowest band, then one text per cell.
std::string CellText(int row, int column) {
    if (row == 0) {
        return column == 5 ? texts::kPartNameTitleKey : "T" + std::to_string(column);
    }
    return "r" + std::to_string(row) + "c" + std::to_string(column);
}

// A proxy table of `rows` value rows under a title row, one polyline per grid line.
std::unique_ptr<host::sim::SimProxyEntity> MakeTable(int rows) {
    auto table = std::make_unique<host::sim::SimProxyEntity>("AcDbZombieEntity");
    const double right = kColumns * kCellWidth;
    const double top = (rows + 1) * kCellHeight;
    for (int r = 0; r <= rows + 1; ++r) {
        auto line = std::make_unique<host::sim::SimPolyline>();
        line->setPoints({{0, r * kCellHeight, 0}, {right, r * kCellHeight, 0}});
        table->addPart(std::move(line));
    }
    for (int c = 0; c <= kColumns; ++c) {
        auto line = std::make_unique<host::sim::SimPolyline>();
        line->setPoints({{c * kCellWidth, 0, 0}, {c * kCellWidth, top, 0}});
        table->addPart(std::move(line));
    }
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            auto text = std::make_unique<host::sim::SimMText>();
            text->setContents("\\P" + CellText(r, c));
            text->setLocation({c * kCellWidth + 1, r * kCellHeight + 1, 0});
            table->addPart(std::move(text));
        }
    }
    return table;
}

bom::TableGeometry MakeGeometry(int rows) {
    bom::TableGeometry geometry;
    for (int r = 0; r <= rows + 1; ++r) {
        geometry.gridPoints.push_back({0, r * kCellHeight, 0});
        geometry.gridPoints.push_back({kColumns * kCellWidth, r * kCellHeight, 0});
    }
    for (int c = 0; c <= kColumns; ++c) geometry.gridPoints.push_back({c * kCellWidth, 0, 0});
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            geometry.texts.push_back(
                {CellText(r, c), {c * kCellWidth + 1, r * kCellHeight + 1, 0}});
        }
    }
    return geometry;
}

// Drive D in a temporary folder with the column-title template, the emulated host with one
// drawing holding a table of 10,000 and one of 20,000 rows.
class Fixture {
  public:
    Fixture() {
        std::ofstream(drive_.root() + "/torvel/VORD/source/BPT/QANTOR.bpt", std::ios::binary)
            << "[TABLE]\r\n"
            << kColumnKindTable[5].tableKey << "=" << texts::kPartNameTitleKey << "\r\nID=T0\r\n";
        drive_.host().newDrawing("D:\\w\\T.dwg");
        small = add(MakeTable(10000));
        large = add(MakeTable(20000));
    }

    host::SelectionSet small;
    host::SelectionSet large;

  private:
    host::SelectionSet add(std::unique_ptr<host::Entity> entity) {
        host::Database& db = *drive_.host().workingDatabase();
        host::BlockTable* table = nullptr;
        host::ObjectId modelSpace = host::kNullId;
        if (db.getBlockTable(table, host::OpenMode::ForRead) != host::eOk) std::abort();
        table->getAt(host::kModelSpace, modelSpace);
        table->close();
        auto* space =
            host::openAs<host::BlockTableRecord>(db, modelSpace, host::OpenMode::ForWrite);
        if (space == nullptr) std::abort();
        host::ObjectId id = host::kNullId;
        host::Entity* resident = entity.release();
        if (space->appendEntity(resident, id) != host::eOk) std::abort();
        resident->close();
        space->close();
        return host::SelectionSet{{id}};
    }

    bench::BenchDrive drive_{"velmarin-bom-bench", {"torvel/VORD/source/BPT"}};
};

Fixture& World() {
    static Fixture fixture;
    return fixture;
}

// CPU time of this thread: on a machine shared with other work, wall time mostly measures the
// others.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Recognition and analysis as the save runs them.
std::size_t Extract(const host::SelectionSet& selection, const ColumnTitles& titles) {
    const bom::FoundTable found = bom::FindTable(selection, titles);
    return bom::AnalyseTable(found.geometry, titles, kBomPath).rows.size();
}

double SecondsToExtract(const host::SelectionSet& selection) {
    const double start = ThreadSeconds();
    const std::size_t rows = Extract(selection, bom::ReadColumnTitles());
    const double seconds = ThreadSeconds() - start;
    if (rows == 0) std::abort();  // the table must be recognised, or nothing was measured
    return seconds;
}

void BM_ExtractThroughHost(benchmark::State& state) {
    const host::SelectionSet& selection = state.range(0) == 10000 ? World().small : World().large;
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = Extract(selection, bom::ReadColumnTitles());
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * kColumns);
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ExtractThroughHost)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_AnalyseOnly(benchmark::State& state) {
    const bom::TableGeometry geometry = MakeGeometry(static_cast<int>(state.range(0)));
    ColumnTitles titles(kColumnKinds, "");
    titles[5] = texts::kPartNameTitleKey;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bom::AnalyseTable(geometry, titles, kBomPath));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * kColumns);
}
BENCHMARK(BM_AnalyseOnly)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Alternates the two tables so that both meet the same machine state. The emulator's explode
// allocates and frees a copy of every part; when the C library hands that memory back to the
// system, the larger table pays the page faults again on every run, which raises this ratio on
// machines where faults are dear (BM_AnalyseOnly has no such cost).
void BM_Ratio_20000_to_10000_rows(benchmark::State& state) {
    double smallSeconds = 0;
    double largeSeconds = 0;
    for (auto _ : state) {
        smallSeconds += SecondsToExtract(World().small);
        largeSeconds += SecondsToExtract(World().large);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["cpu_ms_10000"] = smallSeconds / runs * 1000;
    state.counters["cpu_ms_20000"] = largeSeconds / runs * 1000;
    state.counters["ratio"] = largeSeconds / smallSeconds;
}
BENCHMARK(BM_Ratio_20000_to_10000_rows)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
