#pragma once
// A shim over the platform installed when it is made, installed in its place for its life: a
// test derives from it and overrides what it makes fail.

#include "platform/shims/ForwardingPlatform.h"

namespace velmarin::testing {

class InstalledShim : public platform::shims::ForwardingPlatform {
  public:
    InstalledShim() : ForwardingPlatform(platform::current()) { platform::install(this); }
    ~InstalledShim() override { platform::install(&inner()); }
    InstalledShim(const InstalledShim&) = delete;
    InstalledShim& operator=(const InstalledShim&) = delete;
};

}  // namespace velmarin::testing
