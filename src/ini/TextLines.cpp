#include "ini/TextLines.h"

#include "ini/Lines.h"
#include "platform/Platform.h"

namespace velmarin {

int TextLines::LoadFromFile(const std::string& path) {
    std::string contents;
    if (!platform::current().readFile(path, contents)) return 0;
    SetText(contents);
    return 1;
}

void TextLines::SetText(const std::string& contents) {
    items_.clear();
    ini::ForEachLine(contents, [this](std::string_view line) { items_.emplace_back(line); });
}

const std::string& TextLines::GetAt(int index) const {
    static const std::string kNone;
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return kNone;
    return items_[static_cast<std::size_t>(index)];
}

}  // namespace velmarin
