#pragma once
// A fresh temporary folder standing for drive D:, removed with everything in it when the test
// ends. Paths may be given as Windows paths on D: ("D:\a\b.dwg", either separator), as paths
// relative to the folder ("a/b.dwg"), or as absolute POSIX paths, which pass unchanged.

#include <string>

namespace velmarin::testing {

class TempDrive {
  public:
    TempDrive();
    ~TempDrive();
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    std::string resolve(const std::string& path) const;
    void write(const std::string& path, const std::string& bytes) const;
    std::string read(const std::string& path) const;
    bool exists(const std::string& path) const;
    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

// Writes the bytes as given to a POSIX path, creating its folders.
void WriteBytes(const std::string& path, const std::string& bytes);
// The bytes of a file; nothing when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace velmarin::testing
