#pragma once
// The seven user commands as the host registers them, in registration order.

#include <array>

#include "host/Host.h"

namespace velmarin::app {

// Modal, the host's ordinary command flag.
inline constexpr int kCommandFlags = 1;

struct CommandEntry {
    const char* group;
    const char* globalName;
    const char* localName;
    int flags;
    host::CommandFunction handler;
    void* uiContext;
    int localNameResource;  // -1: every entry carries its local name
};

const std::array<CommandEntry, 7>& CommandTable();

}  // namespace velmarin::app
