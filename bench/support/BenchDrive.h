#pragma once
// What the in-process benchmarks stand on: drive D in a fresh temporary folder, the posix
// platform over it and the emulated host, both installed; removed with the folder at the end.

#include <memory>
#include <string>
#include <vector>

#include "host/sim/SimHost.h"
#include "platform/posix/PosixPlatform.h"

namespace velmarin::bench {

class BenchDrive {
  public:
    // The folder's name starts with `name`; `folders` (relative, '/'-separated) are created in it.
    explicit BenchDrive(const std::string& name, const std::vector<std::string>& folders = {});
    ~BenchDrive();
    BenchDrive(const BenchDrive&) = delete;
    BenchDrive& operator=(const BenchDrive&) = delete;

    const std::string& root() const { return root_; }
    host::sim::SimHost& host() { return *host_; }

  private:
    std::string root_;
    std::unique_ptr<platform::posix::PosixPlatform> platform_;
    std::unique_ptr<host::sim::SimHost> host_;
};

}  // namespace velmarin::bench
