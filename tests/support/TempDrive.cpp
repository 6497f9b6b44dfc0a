#include "support/TempDrive.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace velmarin::testing {

TempDrive::TempDrive() {
    std::string pattern = (fs::temp_directory_path() / "velmarin-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    root_ = pattern;
}

TempDrive::~TempDrive() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string TempDrive::resolve(const std::string& path) const {
    if (!path.empty() && path[0] == '/') return path;
    if (path.size() < 2 || (path[0] != 'D' && path[0] != 'd') || path[1] != ':') {
        return root_ + "/" + path;
    }
    std::string rest = path.substr(2);
    for (char& c : rest) {
        if (c == '\\') c = '/';
    }
    if (rest.empty() || rest[0] != '/') rest = "/" + rest;
    return root_ + rest;
}

void TempDrive::write(const std::string& path, const std::string& bytes) const {
    WriteBytes(resolve(path), bytes);
}

std::string TempDrive::read(const std::string& path) const { return ReadBytes(resolve(path)); }

bool TempDrive::exists(const std::string& path) const { return fs::exists(resolve(path)); }

void WriteBytes(const std::string& path, const std::string& bytes) {
    const fs::path file = path;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace velmarin::testing
