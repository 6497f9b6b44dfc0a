#include "platform/Platform.h"

#include <cstdlib>

namespace velmarin::platform {
namespace {
Platform* g_platform = nullptr;
}

Platform& current() {
    if (g_platform == nullptr) std::abort();  // a programming error: nothing was installed
    return *g_platform;
}

void install(Platform* platform) { g_platform = platform; }

bool installed() { return g_platform != nullptr; }

CommitGroup::CommitGroup(Platform& platform) : platform_(&platform) {
    platform_->beginCommitGroup();
}

bool CommitGroup::end() {
    if (platform_ == nullptr) return true;
    Platform* platform = platform_;
    platform_ = nullptr;
    return platform->endCommitGroup();
}

}  // namespace velmarin::platform
