#include "host/Host.h"

#include <cstdlib>

namespace velmarin::host {
namespace {
Host* g_host = nullptr;
}

Host& current() {
    if (g_host == nullptr) std::abort();  // a programming error: nothing was installed
    return *g_host;
}

void install(Host* host) { g_host = host; }

bool installed() { return g_host != nullptr; }

int ssLength(const SelectionSet& selection, long& length) {
    length = static_cast<long>(selection.names.size());
    return RTNORM;
}

int ssName(const SelectionSet& selection, long index, ObjectId& name) {
    if (index < 0 || static_cast<std::size_t>(index) >= selection.names.size()) return RTERROR;
    name = selection.names[static_cast<std::size_t>(index)];
    return RTNORM;
}

ErrorStatus getObjectId(ObjectId& id, ObjectId name) {
    id = name;
    return name == kNullId ? eNullObjectId : eOk;
}

}  // namespace velmarin::host
