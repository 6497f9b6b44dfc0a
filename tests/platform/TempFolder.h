#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <string>

namespace velmarin::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes `bytes` to `relative` (POSIX, '/'-separated), creating its folders.
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;

  private:
    std::string path_;
};

}  // namespace velmarin::testing
