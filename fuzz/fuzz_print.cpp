// The print flow on arbitrary print files and frames: the VORD side writes the file beside the
// drawing, and the drawing's frame may have any coordinates. Each input runs the whole flow as a
// loaded drawing does: a fresh drawing with a frame polyline, the file beside it, the flow. The
// stamped texts must be sound (finite place, positive height and width factor), one per entry
// line, every object opened must be closed again, and the file must be gone afterwards.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "host/Host.h"
#include "host/sim/SimHost.h"
#include "platform/RecordingNotifier.h"
#include "platform/SimulatedClock.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/shims/EmulatedUserInterface.h"
#include "print/PrintFlow.h"
#include "print/PrintFlowFile.h"
#include "util/FixedTexts.h"
#include "util/Lines.h"

using namespace velmarin;

namespace {

constexpr const char kDrawing[] = "D:\\Sheet.dwg";

// One world for the whole run: a temporary folder as drive D, the posix platform under the
// emulated user interface (message boxes recorded, not printed), the emulated host.
struct World {
    std::string root;
    platform::RecordingNotifier notifier;
    platform::SimulatedClock clock;
    std::unique_ptr<platform::posix::PosixPlatform> platform;
    std::unique_ptr<platform::shims::EmulatedUserInterface> userInterface;
    std::unique_ptr<host::sim::SimHost> host;

    World() {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/velmarin-fuzz-print-XXXXXX";
        FUZZ_REQUIRE(::mkdtemp(pattern.data()) != nullptr);
        root = pattern;
        platform::posix::PosixConfig config;
        config.drives['D'] = root;
        platform = std::make_unique<platform::posix::PosixPlatform>(config);
        userInterface =
            std::make_unique<platform::shims::EmulatedUserInterface>(*platform, notifier, clock);
        platform::install(userInterface.get());
        host = std::make_unique<host::sim::SimHost>(
            [this](const std::string& path) { return platform->resolve(path); });
        host::install(host.get());
    }
};

World& TheWorld() {
    static World* world = new World();  // never destroyed: libFuzzer may exit at any point
    return *world;
}

std::vector<host::Point3> FramePoints(FuzzedDataProvider& input) {
    std::vector<host::Point3> points(input.ConsumeIntegralInRange<std::size_t>(0, 4));
    for (host::Point3& p : points) {
        p.x = input.ConsumeFloatingPoint<double>();
        p.y = input.ConsumeFloatingPoint<double>();
    }
    return points;
}

std::size_t EntryLines(const std::string& contents) {
    std::size_t entries = 0;
    text::ForEachLine(contents, [&](std::string_view line) {
        if (print::SectionCodeOf(std::string(line)) < 0) ++entries;
    });
    return entries;
}

bool IsFinite(const host::Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& world = TheWorld();
    FuzzedDataProvider input(data, size);
    const std::vector<host::Point3> frame = FramePoints(input);
    const std::string contents = input.ConsumeRemainingBytesAsString();

    const std::string printFile = world.platform->resolve(std::string(kDrawing) + ".print.ini");
    {
        std::ofstream out(printFile, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        FUZZ_REQUIRE(static_cast<bool>(out));
    }

    auto& document = static_cast<host::sim::SimDocument&>(world.host->newDrawing(kDrawing));
    host::sim::SimDatabase& db = document.simDatabase();
    if (!frame.empty()) {
        auto polyline = std::make_unique<host::sim::SimPolyline>();
        polyline->setPoints(frame);
        polyline->setLayer(texts::kFrameLayer);
        db.ensureLayer(texts::kFrameLayer);
        db.addEntity(db.modelSpaceId(), std::move(polyline));
    }
    const std::size_t entitiesBefore =
        db.peekAs<host::BlockTableRecord>(db.modelSpaceId())->entityIds().size();

    print::ApplyPrintFlow();

    FUZZ_REQUIRE(db.openObjectCount() == 0);
    FUZZ_REQUIRE(::access(printFile.c_str(), F_OK) != 0);
    const auto ids = db.peekAs<host::BlockTableRecord>(db.modelSpaceId())->entityIds();
    FUZZ_REQUIRE(ids.size() == entitiesBefore + EntryLines(contents));
    for (std::size_t i = entitiesBefore; i < ids.size(); ++i) {
        const auto* stamped = db.peekAs<host::Text>(ids[i]);
        FUZZ_REQUIRE(stamped != nullptr && stamped->layer() == texts::kPrintInfoLayer);
        FUZZ_REQUIRE(IsFinite(stamped->position()));
        FUZZ_REQUIRE(std::isfinite(stamped->height()) && stamped->height() > 0);
        if (stamped->widthFactor()) {
            FUZZ_REQUIRE(std::isfinite(*stamped->widthFactor()) && *stamped->widthFactor() > 0);
        }
    }

    FUZZ_REQUIRE(world.host->closeCurrent());
    world.notifier.clear();
    return 0;
}
