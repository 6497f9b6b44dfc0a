#include "app/CommandTable.h"

#include "commands/Commands.h"

namespace velmarin::app {
namespace {

constexpr CommandEntry Entry(const char* globalName, const char* localName,
                             host::CommandFunction handler) {
    return {kCommandGroup, globalName, localName, kCommandFlags, handler, nullptr, -1};
}

constexpr std::array<CommandEntry, 7> kTable = {{
    Entry("_openmethod", "openmethod", &commands::openmethod),
    Entry("_savemethod", "savemethod", &commands::savemethod),
    Entry("_loginmethod", "loginmethod", &commands::loginmethod),
    Entry("_saveasmethod", "saveasmethod", &commands::saveasmethod),
    Entry("_VORD_batchchange", "VORD_batchchange", &commands::VORD_batchchange),
    Entry("_savebom", "savebom", &commands::savebom),
    Entry("_PrintMethod", "PrintMethod", &commands::PrintMethod),
}};

}  // namespace

const std::array<CommandEntry, 7>& CommandTable() { return kTable; }

}  // namespace velmarin::app
