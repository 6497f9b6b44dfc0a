// The emulator's DXF reader and writer on arbitrary bytes. A file that loads must be usable: every
// entity gives its extents, grip points and parts without leaving anything open. A text added
// the way the print flow adds one must survive writing the drawing and loading it again, and
// writing that drawing again must give the same bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "UseEntities.h"
#include "host/Objects.h"
#include "host/sim/dxf/File.h"
#include "host/sim/database/SimDatabase.h"

using namespace velmarin::host;
using namespace velmarin::host::sim;

namespace {

std::size_t ModelSpaceSize(const SimDatabase& db) {
    return db.peekAs<SimBlockTableRecord>(db.modelSpaceId())->entityIds().size();
}

// Appends a text to model space through the host's open and close, as a command does.
void AddText(SimDatabase& db) {
    DbObject* object = nullptr;
    FUZZ_REQUIRE(db.openObject(object, db.modelSpaceId(), OpenMode::ForWrite) == eOk);
    auto* modelSpace = dynamic_cast<BlockTableRecord*>(object);
    FUZZ_REQUIRE(modelSpace != nullptr);
    auto* text = new SimText();
    text->setTextString("\xC9\xF3\xBA\xCB fuzz");  // GBK and ASCII
    text->setPosition({1.5, -2.25, 0.0});
    text->setLayer("ASDK_VORD");
    ObjectId id = kNullId;
    FUZZ_REQUIRE(modelSpace->appendEntity(text, id) == eOk);
    text->close();
    modelSpace->close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SimDatabase db;
    std::string error;
    if (!ReadDxf(bytes, "fuzz.dxf", db, error)) {
        FUZZ_REQUIRE(!error.empty() && error.find_first_of("\r\n") == std::string::npos);
        return 0;
    }
    for (ObjectId recordId : db.blockTable().recordIds()) UseEntities(db, recordId);
    FUZZ_REQUIRE(db.openObjectCount() == 0);

    const std::size_t entities = ModelSpaceSize(db);
    AddText(db);
    FUZZ_REQUIRE(db.openObjectCount() == 0);
    const std::string written = WriteDxf(db);

    SimDatabase again;
    FUZZ_REQUIRE(ReadDxf(written, "again.dxf", again, error));
    FUZZ_REQUIRE(ModelSpaceSize(again) == entities + 1);
    FUZZ_REQUIRE(WriteDxf(again) == written);
    return 0;
}
