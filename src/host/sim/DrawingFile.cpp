#include "host/sim/DrawingFile.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host/sim/DxfFile.h"

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
    std::string content = bytes.str();
    // DXF is told by its content; a .dxf file that is not JSON either is read as DXF, so that
    // its problem is reported in DXF terms.
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    const bool json = first != std::string::npos && content[first] == '{';
    const bool dxf = LooksLikeDxf(content) || (IsDxfPath(path) && !json);
    if (dxf) return ReadDxf(std::move(content), label, db, error) ? eOk : eInvalidInput;
    return ReadDrawing(content, label, db, error) ? eOk : eInvalidInput;
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
    const std::string text = IsDxfPath(path) ? WriteDxf(db) : WriteDrawing(db);
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
