#include "platform/win32/Win32Notifier.h"

#include <windows.h>
// After the system header, which they need.
#include <cderr.h>
#include <commdlg.h>

#include <vector>

#include "platform/DoubleByte.h"

namespace velmarin::platform::win32 {
namespace {

// Shown when more files were picked than the name buffer holds: the dialog then answers nothing.
constexpr char kTooManyFiles[] = "Too many files were selected. Please select fewer files.";

// A GBK lead byte: the byte after it is its trail, whatever its value ('\\' and '|' included).
bool IsLead(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

// Position of the last path separator that is a character of its own, or npos.
std::size_t LastSeparator(const std::string& path) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') found = i;
        if (IsLead(path[i])) ++i;
    }
    return found;
}

// The base name of the program the module runs in ("host" for C:\CAD\host.exe).
std::string HostProgramName() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : MAX_PATH - 1);
    const std::size_t slash = LastSeparator(name);
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

void Win32Notifier::messageBox(const std::string& text, const std::string& title,
                               MessageIcon icon) {
    UINT type = MB_OK;
    if (icon == MessageIcon::Information) type |= MB_ICONINFORMATION;
    const std::string caption = title.empty() ? HostProgramName() : title;
    MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), type);
}

std::vector<std::string> SplitDialogSelection(const char* buffer, std::size_t size) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < size && buffer[i] != '\0') {
        std::size_t end = i;
        while (end < size && buffer[end] != '\0') ++end;
        parts.emplace_back(buffer + i, end - i);
        i = end + 1;
    }
    if (parts.size() <= 1) return parts;  // one file: its full path
    std::string folder = parts.front();
    if (folder.empty() || LastSeparator(folder) != folder.size() - 1) folder += '\\';
    std::vector<std::string> paths;
    for (std::size_t k = 1; k < parts.size(); ++k) paths.push_back(folder + parts[k]);
    return paths;
}

std::string DialogFilter(const std::string& filter) {
    std::string nulSeparated = filter;
    for (std::size_t i = 0; i < nulSeparated.size(); ++i) {
        if (nulSeparated[i] == '|') nulSeparated[i] = '\0';
        if (IsLead(nulSeparated[i])) ++i;
    }
    // Two NULs end the list even when the caller's filter lacks the closing "||".
    nulSeparated.append(2, '\0');
    return nulSeparated;
}

std::optional<std::vector<std::string>> Win32Notifier::openFileDialog(
    const OpenFileDialogSpec& request) {
    const std::string filter = DialogFilter(request.filter);
    std::vector<char> names(request.nameBufferBytes < 2 ? 2 : request.nameBufferBytes, '\0');
    request.initialFileName.copy(names.data(), names.size() - 1);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size());
    dialog.lpstrDefExt =
        request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (request.allowMultiSelect) dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (request.hideReadOnly) dialog.Flags |= OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&dialog)) return SplitDialogSelection(names.data(), names.size());
    // A selection too long for the buffer would otherwise look like a cancel to the user.
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        messageBox(kTooManyFiles, "", MessageIcon::None);
    }
    return std::nullopt;
}

}  // namespace velmarin::platform::win32
