#pragma once
// A bridge over a fresh world: the client double in D:\VORD (unless the options say otherwise),
// the spy journal over the world's platform, and a VordClient built as the application builds it.

#include "bridge/VordClient.h"
#include "support/ClientSpy.h"
#include "support/World.h"

namespace velmarin::testing {

struct BridgeWorld {
    explicit BridgeWorld(WorldOptions options = {})
        : world(options), spy(world.systemPlatform()), vord(0, 6) {}

    World world;
    ClientSpy spy;
    VordClient vord;
};

}  // namespace velmarin::testing
