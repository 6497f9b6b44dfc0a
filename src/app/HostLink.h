#pragma once
// How the module reaches the host services: with the initialisation message (1) the host passes
// a packet. The emulator program's packet is a HostLink, which carries its host seam and its
// platform; the module installs both before anything else runs. A packet without the HostLink
// signature (the real host's application packet) leaves the module's own defaults in place.

#include <cstdint>
#include <cstring>

namespace velmarin {
namespace host {
class Host;
}
namespace platform {
class Platform;
}

struct HostLink {
    static constexpr std::uint32_t kSignature = 0x4B4E4C56;  // "VLNK"
    std::uint32_t signature = kSignature;
    host::Host* host = nullptr;
    platform::Platform* platform = nullptr;
};

// Whether a packet the host passed with the initialisation message is a HostLink.
inline bool IsHostLink(const void* packet) {
    if (packet == nullptr) return false;
    std::uint32_t signature = 0;
    std::memcpy(&signature, packet, sizeof signature);
    return signature == HostLink::kSignature;
}

// The module's single entry, as the host calls it.
extern "C" typedef int (*ZcrxEntryPointProc)(int message, void* packet);

}  // namespace velmarin
