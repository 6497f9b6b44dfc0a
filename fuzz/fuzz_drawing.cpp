// The emulator's drawing-file loader (JSON) on arbitrary bytes. A file that loads must be
// usable: every entity gives its extents, grip points and parts without leaving anything open,
// and the drawing written back loads again and writes the same bytes (saving a drawing the
// emulator opened never changes it a second time).

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "UseEntities.h"
#include "host/Objects.h"
#include "host/sim/DrawingFile.h"
#include "host/sim/database/SimDatabase.h"

using namespace velmarin::host;
using namespace velmarin::host::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SimDatabase db;
    std::string error;
    if (!ReadDrawing(bytes, "fuzz.dwg", db, error)) {
        FUZZ_REQUIRE(!error.empty() && error.find('\n') == std::string::npos);
        return 0;
    }
    for (ObjectId recordId : db.blockTable().recordIds()) UseEntities(db, recordId);
    FUZZ_REQUIRE(db.openObjectCount() == 0);

    const std::string written = WriteDrawing(db);
    SimDatabase again;
    FUZZ_REQUIRE(ReadDrawing(written, "again.dwg", again, error));
    FUZZ_REQUIRE(WriteDrawing(again) == written);
    return 0;
}
