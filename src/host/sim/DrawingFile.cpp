#include "host/sim/DrawingFile.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host/sim/dxf/File.h"
#include "platform/ReplacingFile.h"

namespace velmarin::host::sim {

namespace fs = std::filesystem;

namespace {

// Why a Windows path reaches no file at all (it resolved to nothing): a drive letter that no
// --drive option maps, or a network path.
std::string Unreachable(const std::string& label) {
    const bool drive = label.size() >= 2 && label[1] == ':' &&
                       std::isalpha(static_cast<unsigned char>(label[0])) != 0;
    if (drive) {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
        const std::string name(1, letter);
        return label + ": drive " + name + ": is not mapped to a folder; map it with --drive " +
               name + "=DIR";
    }
    if (label.size() >= 2 && (label[0] == '\\' || label[0] == '/') &&
        (label[1] == '\\' || label[1] == '/')) {
        return label + ": a network path, which the emulator does not reach; copy the file to a "
                       "mapped drive";
    }
    return label + ": not a file name";
}

// A binary drawing of the CAD editor's own format: "AC10" and the version digits.
bool LooksLikeDwg(const std::string& bytes) {
    if (bytes.size() < 6 || bytes.compare(0, 4, "AC10") != 0) return false;
    return std::isdigit(static_cast<unsigned char>(bytes[4])) != 0 &&
           std::isdigit(static_cast<unsigned char>(bytes[5])) != 0;
}

// The folder of a Windows or POSIX path as its user wrote it ("" when it names none).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

ErrorStatus LoadDrawingFile(const std::string& path, const std::string& label, SimDatabase& db,
                            std::string& error) {
    if (path.empty()) {
        error = Unreachable(label);
        return eFileAccessErr;
    }
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
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
    if (LooksLikeDwg(content)) {
        error = label + ": a DWG file, which the emulator does not read; save the drawing as DXF "
                        "in the CAD editor and open the .dxf file";
        return eInvalidInput;
    }
    // DXF is told by its content; a .dxf file that is not JSON either is read as DXF, so that
    // its problem is reported in DXF terms.
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    const bool json = first != std::string::npos && content[first] == '{';
    const bool dxf = LooksLikeDxf(content) || (IsDxfPath(path) && !json);
    if (dxf) return ReadDxf(std::move(content), label, db, error) ? eOk : eInvalidInput;
    if (!json) {
        error = label + ": neither a JSON nor a DXF drawing; open a drawing file of the emulator "
                        "or a DXF file";
        return eInvalidInput;
    }
    return ReadDrawing(content, label, db, error) ? eOk : eInvalidInput;
}

bool SaveDrawingFile(const SimDatabase& db, const std::string& path, const std::string& label,
                     std::string& error) {
    const fs::path target(path);
    std::error_code ec;
    if (path.empty()) {
        error = Unreachable(label);
        return false;
    }
    if (fs::is_directory(target, ec)) {
        error = label + ": a folder of that name is in the way; save under another name";
        return false;
    }
    const fs::path folder = target.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        const std::string shown = FolderOf(label).empty() ? folder.string() : FolderOf(label);
        error = label + ": cannot be written, the folder " + shown +
                " does not exist; create it or save elsewhere";
        return false;
    }
    std::unique_ptr<platform::OutputFile> file = platform::CreateReplacingFile(path);
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const fs::file_status status = fs::status(target, ec);
    if (!file && fs::is_regular_file(status) && (status.permissions() & writable) == fs::perms::none) {
        error = label + ": the drawing file is read-only and was left as it was; make it "
                        "writable or save under another name";
        return false;
    }
    const std::string text = IsDxfPath(path) ? WriteDxf(db) : WriteDrawing(db);
    if (!file || !file->write(text) || !file->commit()) {
        error = label + ": the drawing cannot be written; check the folder's permissions and "
                        "the free space on its disk";
        return false;
    }
    return true;
}

}  // namespace velmarin::host::sim
