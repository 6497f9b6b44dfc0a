#include "Console.h"

#include "platform/Encoding.h"

namespace velmarin::emulator {

std::string Console::Shown(const std::string& gbk) {
    const std::string utf8 = platform::GbkToUtf8(gbk);
    std::string shown;
    shown.reserve(utf8.size());
    for (char c : utf8) {
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

void Console::messageBox(const std::string& gbkText, const std::string& gbkTitle) {
    if (gbkTitle.empty()) {
        line("MESSAGE: " + Shown(gbkText));
    } else {
        line("MESSAGE[" + Shown(gbkTitle) + "]: " + Shown(gbkText));
    }
}

void Console::commandLine(const std::string& gbkText) { line("CMDLINE: " + Shown(gbkText)); }

void Console::dialog(const std::optional<std::vector<std::string>>& answer) {
    if (answer) {
        line("DIALOG: " + std::to_string(answer->size()) + " file(s)");
    } else {
        line("DIALOG: cancelled");
    }
}

void Console::unknownCommand(const std::string& gbkWord) {
    line("Unknown command \"" + Shown(gbkWord) + "\".");
}

void Console::echo(const std::string& gbkText) { line(Shown(gbkText)); }

void Console::error(const std::string& text) {
    out_.flush();
    err_ << "velmarin-host: " << text << '\n';
    err_.flush();
}

void Console::line(const std::string& utf8) { out_ << utf8 << '\n' << std::flush; }

}  // namespace velmarin::emulator
