#pragma once
// A fresh temporary folder standing for drive D:, with a resolver in the shape the emulator
// expects (drive letter mapped, both separators), removed when the test ends.

#include <string>

namespace velmarin::testing {

class TempDrive {
  public:
    TempDrive();
    ~TempDrive();
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    // "D:\a\b.dwg" -> "<root>/a/b.dwg"; other paths pass unchanged.
    std::string resolve(const std::string& path) const;
    void write(const std::string& path, const std::string& bytes) const;
    std::string read(const std::string& path) const;
    bool exists(const std::string& path) const;
    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

}  // namespace velmarin::testing
