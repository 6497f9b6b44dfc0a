#include "host/sim/DrawingFile.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace velmarin::host::sim {

namespace fs = std::filesystem;

ErrorStatus LoadDrawingFile(const std::string& path, const std::string& label, SimDatabase& db,
                            std::string& error) {
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) {
        error = label + ": no such drawing file";
        return eFileAccessErr;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || in.bad()) {
        error = label + ": the drawing file cannot be read";
        return eFileAccessErr;
    }
    return ReadDrawing(bytes.str(), label, db, error) ? eOk : eInvalidInput;
}

bool SaveDrawingFile(const SimDatabase& db, const std::string& path, const std::string& label,
                     std::string& error) {
    static std::atomic<unsigned> counter{0};
    const fs::path target(path);
    std::error_code ec;
    if (path.empty() || fs::is_directory(target, ec)) {
        error = label + ": not a file name";
        return false;
    }
    const fs::path temporary = target.string() + ".~" + std::to_string(counter++) + ".tmp";
    const std::string text = WriteDrawing(db);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            error = label + ": the drawing cannot be written";
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = label + ": the drawing cannot be written";
        return false;
    }
    return true;
}

}  // namespace velmarin::host::sim
