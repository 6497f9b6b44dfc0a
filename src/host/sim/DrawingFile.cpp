#include "host/sim/DrawingFile.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "host/sim/dxf/File.h"
#include "platform/NativeFiles.h"
#include "platform/ReplacingFile.h"

namespace velmarin::host::sim {

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
        return label +
               ": a network path, which the emulator does not reach; copy the file to a "
               "mapped drive";
    }
    return label + ": not a file name";
}

// Windows' ANSI file functions, which the host uses too, reach no file at a longer path.
std::string TooLong(const std::string& label) {
    return label + ": the path is longer than the " + std::to_string(platform::kMaxAnsiPath) +
           " characters Windows' file functions take; move the drawing to a shorter path";
}

// A binary drawing of the CAD editor's own format: "AC10" and the version digits.
bool LooksLikeDwg(const std::string& bytes) {
    if (bytes.size() < 6 || bytes.compare(0, 4, "AC10") != 0) return false;
    return std::isdigit(static_cast<unsigned char>(bytes[4])) != 0 &&
           std::isdigit(static_cast<unsigned char>(bytes[5])) != 0;
}

}  // namespace

ErrorStatus LoadDrawingFile(const std::string& path, const std::string& label, SimDatabase& db,
                            std::string& error) {
    if (path.empty()) {
        error = Unreachable(label);
        return eFileAccessErr;
    }
    const platform::PathKind kind = platform::KindOfPath(path);
    if (kind == platform::PathKind::TooLong) {
        error = TooLong(label);
        return eFileAccessErr;
    }
    if (kind != platform::PathKind::File && kind != platform::PathKind::ReadOnlyFile) {
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
        error = label +
                ": a DWG file, which the emulator does not read; save the drawing as DXF "
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
        error = label +
                ": neither a JSON nor a DXF drawing; open a drawing file of the emulator "
                "or a DXF file";
        return eInvalidInput;
    }
    return ReadDrawing(content, label, db, error) ? eOk : eInvalidInput;
}

bool SaveDrawingFile(const SimDatabase& db, const std::string& path, const std::string& label,
                     std::string& error) {
    if (path.empty()) {
        error = Unreachable(label);
        return false;
    }
    const platform::PathKind kind = platform::KindOfPath(path);
    if (kind == platform::PathKind::TooLong) {
        error = TooLong(label);
        return false;
    }
    if (kind == platform::PathKind::Folder) {
        error = label + ": a folder of that name is in the way; save under another name";
        return false;
    }
    const std::string folder = platform::FolderPart(path);
    if (!folder.empty() && platform::KindOfPath(folder) != platform::PathKind::Folder) {
        const std::string written = platform::FolderPart(label);
        const std::string shown = written.empty() ? folder : written;
        error = label + ": cannot be written, the folder " + shown +
                " does not exist; create it or save elsewhere";
        return false;
    }
    std::unique_ptr<platform::OutputFile> file = platform::CreateReplacingFile(path);
    if (!file && kind == platform::PathKind::ReadOnlyFile) {
        error = label +
                ": the drawing file is read-only and was left as it was; make it "
                "writable or save under another name";
        return false;
    }
    const std::string text = IsDxfPath(path) ? WriteDxf(db) : WriteDrawing(db);
    if (!file || !file->write(text) || !file->commit()) {
        error = label +
                ": the drawing cannot be written; check the folder's permissions and "
                "the free space on its disk";
        return false;
    }
    return true;
}

}  // namespace velmarin::host::sim
