#include "util/Messages.h"

namespace velmarin::util {

void ShowMessage(const std::string& text, const std::string& title, platform::MessageIcon icon) {
    platform::current().notifier().messageBox(text, title, icon);
}

}  // namespace velmarin::util
