#include "support/BenchDrive.h"

#include <cstdlib>
#include <filesystem>

namespace velmarin::bench {

namespace fs = std::filesystem;

BenchDrive::BenchDrive(const std::string& name, const std::vector<std::string>& folders) {
    std::string pattern = (fs::temp_directory_path() / (name + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    for (const std::string& folder : folders) fs::create_directories(root_ + "/" + folder);
    platform::posix::PosixConfig config;
    config.drives['D'] = root_;
    platform_ = std::make_unique<platform::posix::PosixPlatform>(config);
    host_ = std::make_unique<host::sim::SimHost>(
        [this](const std::string& path) { return platform_->resolve(path); });
    platform::install(platform_.get());
    host::install(host_.get());
}

BenchDrive::~BenchDrive() {
    host::install(nullptr);
    platform::install(nullptr);
    host_.reset();
    platform_.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

}  // namespace velmarin::bench
