#pragma once
// A bridge over a fresh world: the client double in D:\VORD (unless the options say otherwise),
// the spy journal over the world's platform, and a TdaVORD built as the application builds it.

#include "ClientSpy.h"
#include "bridge/TdaVORD.h"
#include "support/World.h"
#include "util/TdaFunc.h"

namespace velmarin::testing {

struct BridgeWorld {
    explicit BridgeWorld(WorldOptions options = {})
        : world(options), spy(world.platform()), vord(func, 0, 6) {}

    World world;
    ClientSpy spy;
    TdaFunc func;
    TdaVORD vord;
};

}  // namespace velmarin::testing
