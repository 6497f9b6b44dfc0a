#include "ScriptRunner.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/FileText.h"

namespace velmarin::emulator {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool ParseMilliseconds(const std::string& text, unsigned long long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0;
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        if (at >= text.size()) break;
        std::string word;
        if (text[at] == '"') {
            const std::size_t close = text.find('"', at + 1);
            const std::size_t end = close == std::string::npos ? text.size() : close;
            word = text.substr(at + 1, end - at - 1);
            at = close == std::string::npos ? text.size() : close + 1;
        } else {
            const std::size_t begin = at;
            while (at < text.size() && !IsBlank(text[at])) ++at;
            word = text.substr(begin, at - begin);
        }
        words.push_back(word);
    }
    return words;
}

int ScriptRunner::run(std::istream& script) {
    int failures = 0;
    for (std::string line; std::getline(script, line);) {
        // Windows editors start a UTF-8 file with a byte-order mark: it is no part of the line.
        if (lineNumber_ == 0) line = platform::WithoutByteOrderMark(std::move(line));
        if (!runLine(line)) ++failures;
    }
    return failures;
}

bool ScriptRunner::runLine(const std::string& rawLine) {
    ++lineNumber_;
    const std::string line = Trimmed(platform::LineAsGbk(rawLine));
    if (line.empty() || line[0] == '#') return true;

    std::size_t split = 0;
    while (split < line.size() && !IsBlank(line[split])) ++split;
    const std::string word = line.substr(0, split);
    const std::string rest = Trimmed(line.substr(split));
    const std::string verb = Lower(word);
    host::sim::SimHost& host = session_.host();

    if (verb == "open") {
        if (rest.empty()) return fail("open needs a path");
        std::string error;
        return host.openDrawing(rest, error) || fail(Console::Shown(error));
    }
    if (verb == "new") {
        if (rest.empty()) return fail("new needs a file name");
        host.newDrawing(rest);
        return true;
    }
    if (verb == "activate") {
        if (rest.empty()) return fail("activate needs a path");
        return host.activate(rest) || fail("no open drawing named " + Console::Shown(rest));
    }
    if (verb == "close") {
        return host.closeCurrent() || fail("close: no drawing is open");
    }
    if (verb == "pick") {
        const std::string answer = Lower(rest);
        if (answer != "all" && answer != "cancel") return fail("pick expects all or cancel");
        host.queuePick(answer == "all");
        return true;
    }
    if (verb == "dialog") {
        const std::vector<std::string> files = SplitWords(rest);
        if (files.empty()) return fail("dialog expects paths or cancel");
        if (files.size() == 1 && Lower(files[0]) == "cancel" && rest.front() != '"') {
            session_.notifier().queueDialogAnswer(std::nullopt);
        } else {
            session_.notifier().queueDialogAnswer(files);
        }
        return true;
    }
    if (verb == "wait") {
        unsigned long long milliseconds = 0;
        if (!ParseMilliseconds(rest, milliseconds)) return fail("wait expects milliseconds");
        session_.clock().advance(milliseconds);
        return true;
    }
    if (verb == "export") {
        if (rest.empty()) return fail("export needs a path");
        std::string error;
        return host.exportCurrent(rest, error) || fail(Console::Shown(error));
    }
    if (verb == "echo") {
        console_.echo(rest);
        return true;
    }
    return runCommand(word);
}

bool ScriptRunner::runCommand(const std::string& word) {
    const host::sim::RegisteredCommand* command = session_.host().findCommand(word);
    if (command == nullptr || command->function == nullptr) {
        console_.unknownCommand(word);
        return true;
    }
    // Copied first: a command may change the host's command table while it runs.
    const host::CommandFunction function = command->function;
    function();
    return true;
}

bool ScriptRunner::fail(const std::string& problem) {
    console_.error(scriptName_ + ":" + std::to_string(lineNumber_) + ": " + problem);
    return false;
}

}  // namespace velmarin::emulator
