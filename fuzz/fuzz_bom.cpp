// The BOM analysis on arbitrary tables: column titles, grid points and placed texts as a drawing
// may hold them (coordinates of any value, including infinities and NaN, texts that repeat or
// match titles), then the BOM detail file written from the result. Invariants: the grid is
// strictly ascending, every cell lies inside it with a known kind, there is one BOM row per row
// band, and the detail file is the header followed by one line per written row.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "bom/BomFileFormat.h"
#include "bom/BomTable.h"
#include "platform/Platform.h"
#include "platform/RecordingNotifier.h"
#include "bom/BomFile.h"

using namespace velmarin;

namespace {

// Only what the BOM writer needs of the system: files kept in memory.
class MemoryFiles : public platform::Platform {
  public:
    class File : public platform::OutputFile {
      public:
        File(MemoryFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        bool write(const char* data, std::size_t size) override {
            bytes_.append(data, size);
            return true;
        }
        bool commit() override {
            owner_.files[path_] = bytes_;
            return true;
        }

      private:
        MemoryFiles& owner_;
        std::string path_;
        std::string bytes_;
    };

    std::map<std::string, std::string> files;
    platform::RecordingNotifier recorder;

    std::unique_ptr<platform::OutputFile> createFile(const std::string& path) override {
        return std::make_unique<File>(*this, path);
    }
    bool readFile(const std::string& path, std::string& contents) override {
        const auto found = files.find(path);
        if (found == files.end()) return false;
        contents = found->second;
        return true;
    }
    platform::Notifier& notifier() override { return recorder; }
    bool readRegistryString(const std::string&, const std::string&, std::string&) override {
        return false;
    }
    std::uint32_t getProfileString(const char*, const char*, const char*, char* buffer,
                                   std::uint32_t size, const std::string&) override {
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    bool writeProfileString(const char*, const char*, const char*, const std::string&) override {
        return false;
    }
    bool findFirstFile(const std::string& path) override { return files.count(path) != 0; }
    bool createDirectory(const std::string&) override { return true; }
    bool deleteFile(const std::string& path) override { return files.erase(path) != 0; }
    std::string moduleFileName(const std::string&) override { return "C:\\Host\\host.exe"; }
    platform::LibraryHandle loadLibrary(const std::string&, std::string&) override {
        return nullptr;
    }
    void* getProcAddress(platform::LibraryHandle, const char*) override { return nullptr; }
    std::uintptr_t setTimer(std::uintptr_t, unsigned, platform::TimerProc) override { return 0; }
    bool killTimer(void*, std::uintptr_t) override { return false; }
};

MemoryFiles& Files() {
    static MemoryFiles* files = [] {
        auto* created = new MemoryFiles();
        platform::install(created);
        return created;
    }();
    return *files;
}

// Coordinates mostly from a few values, so that grid lines coincide and texts fall into cells;
// now and then any double at all.
double Coordinate(FuzzedDataProvider& input, const std::vector<double>& values) {
    if (values.empty() || input.ConsumeIntegralInRange(0, 7) == 0) {
        return input.ConsumeFloatingPoint<double>();
    }
    const double a = values[input.ConsumeIntegralInRange<std::size_t>(0, values.size() - 1)];
    if (input.ConsumeBool()) return a;
    const double b = values[input.ConsumeIntegralInRange<std::size_t>(0, values.size() - 1)];
    return a / 2 + b / 2;  // between two lines: inside a cell
}

std::string Text(FuzzedDataProvider& input, const std::vector<std::string>& pool) {
    if (input.ConsumeIntegralInRange(0, 3) == 0) return input.ConsumeRandomLengthString(16);
    return pool[input.ConsumeIntegralInRange<std::size_t>(0, pool.size() - 1)];
}

std::size_t CountLines(const std::string& bytes) {
    std::size_t lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFiles& files = Files();
    files.files.clear();
    files.recorder.clear();
    FuzzedDataProvider input(data, size);

    std::vector<std::string> pool(input.ConsumeIntegralInRange(1, 6));
    for (std::string& entry : pool) entry = input.ConsumeRandomLengthString(12);
    std::vector<double> values(input.ConsumeIntegralInRange(0, 8));
    for (double& value : values) value = input.ConsumeFloatingPoint<double>();

    ColumnTitles titles;
    for (int kind = 0; kind < kColumnKinds; ++kind) {
        titles.push_back(input.ConsumeBool() ? Text(input, pool) : std::string());
    }
    bom::TableGeometry table;
    table.gridPoints.resize(input.ConsumeIntegralInRange(0, 48));
    for (host::Point3& p : table.gridPoints) {
        p.x = Coordinate(input, values);
        p.y = Coordinate(input, values);
    }
    table.texts.resize(input.ConsumeIntegralInRange(0, 64));
    for (bom::PlacedText& placed : table.texts) {
        placed.text = Text(input, pool);
        placed.corner.x = Coordinate(input, values);
        placed.corner.y = Coordinate(input, values);
    }
    const std::string bomPath = input.ConsumeRandomLengthString(40);
    const std::size_t keptRows = input.ConsumeIntegral<std::size_t>();

    const bom::BomTable bom = bom::AnalyseTable(table, titles, bomPath);

    for (const auto* grid : {&bom.gridX, &bom.gridY}) {
        for (std::size_t i = 0; i < grid->size(); ++i) {
            FUZZ_REQUIRE(!std::isnan((*grid)[i]));
            if (i > 0) FUZZ_REQUIRE((*grid)[i - 1] < (*grid)[i]);
        }
    }
    for (const TextInfo& cell : bom.cells) {
        FUZZ_REQUIRE(cell.row >= 1 && static_cast<std::size_t>(cell.row) < bom.gridY.size());
        FUZZ_REQUIRE(cell.column >= 1 && static_cast<std::size_t>(cell.column) < bom.gridX.size());
        FUZZ_REQUIRE(cell.kind >= 0 && cell.kind <= kColumnKinds);
    }
    FUZZ_REQUIRE(bom.cells.size() + bom.strayTexts.size() == table.texts.size());
    if (!bom.cells.empty()) FUZZ_REQUIRE(bom.rows.size() == bom.gridY.size() - 1);
    if (bom.cells.empty()) FUZZ_REQUIRE(bom.rows.empty());
    for (const BomInfo& row : bom.rows) FUZZ_REQUIRE(row.bomPath == bomPath);

    const std::string header = bom::BomFileHeader();
    const std::size_t headerLines = CountLines(header);
    FUZZ_REQUIRE(bom::WriteDetailFile("D:\\out.bmf", bom.rows));
    const std::string written = files.files.at("D:\\out.bmf");
    FUZZ_REQUIRE(written.compare(0, header.size(), header) == 0);
    const std::size_t bomLines = bom.rows.size() < 2 ? 0 : bom.rows.size() - 1;
    FUZZ_REQUIRE(CountLines(written) >= headerLines + bomLines);

    // A drawing's rows after the linking took some away.
    const std::vector<BomInfo> kept(bom.rows.begin(),
                                    bom.rows.begin() + static_cast<std::ptrdiff_t>(
                                                           keptRows % (bom.rows.size() + 1)));
    FUZZ_REQUIRE(bom::WriteDetailFile("D:\\rows.bmf", kept));
    FUZZ_REQUIRE(files.files.at("D:\\rows.bmf").compare(0, header.size(), header) == 0);
    return 0;
}
