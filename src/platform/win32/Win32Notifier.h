#pragma once
// What the user sees on Windows: MessageBoxA and the common open-file dialog, both owned by the
// window the user is working in (the CAD host's), so that they are modal to it.

#include "platform/Platform.h"

namespace velmarin::platform::win32 {

class Win32Notifier : public Notifier {
  public:
    // A box without a title carries the host program's name, as the class library's boxes do.
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::optional<std::vector<std::string>> openFileDialog(
        const OpenFileDialogSpec& request) override;
};

// The full paths of a multiple-selection answer: "folder\0name\0name\0\0" or "path\0\0".
std::vector<std::string> SplitDialogSelection(const char* buffer, std::size_t size);

// The dialog's filter: "desc|pattern|...||" with each '|' turned into the NUL the system expects.
std::string DialogFilter(const std::string& filter);

}  // namespace velmarin::platform::win32
