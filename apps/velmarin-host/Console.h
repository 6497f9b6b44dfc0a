#pragma once
// What the user would see, one line per event on standard output, in UTF-8. The plug-in's texts
// arrive as GBK; carriage returns and line feeds are shown as the escapes \r and \n so that
// every event stays one line.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velmarin::emulator {

class Console {
  public:
    Console(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void messageBox(const std::string& gbkText, const std::string& gbkTitle);
    void commandLine(const std::string& gbkText);
    void dialog(const std::optional<std::vector<std::string>>& answer);
    void unknownCommand(const std::string& gbkWord);
    void echo(const std::string& gbkText);
    // One line on standard error.
    void error(const std::string& line);

    // GBK to UTF-8 with CR and LF escaped.
    static std::string Shown(const std::string& gbk);

  private:
    void line(const std::string& utf8);

    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace velmarin::emulator
