#pragma once
// Runs a command script against the emulated editor: the user's actions (open, new, activate,
// close, pick, dialog, wait, export, echo) and commands typed at the command line.

#include <istream>
#include <string>

#include "Console.h"
#include "Session.h"

namespace velmarin::emulator {

class ScriptRunner {
  public:
    // `scriptName` (UTF-8) starts each error line.
    ScriptRunner(Session& session, Console& console, std::string scriptName)
        : session_(session), console_(console), scriptName_(std::move(scriptName)) {}

    // Runs every line; returns the number of lines that failed (each reported on stderr).
    int run(std::istream& script);
    // One line as read from the script (UTF-8 or GBK).
    bool runLine(const std::string& line);

  private:
    bool fail(const std::string& problem);
    bool runCommand(const std::string& word);

    Session& session_;
    Console& console_;
    std::string scriptName_;
    int lineNumber_ = 0;
};

// The words of a line: blank-separated, a word in double quotes may hold blanks.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace velmarin::emulator
