#include "support/HostRun.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/World.h"

namespace fs = std::filesystem;

namespace velmarin::testing {
namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

bool HostResult::has(const std::string& line) const { return count(line) > 0; }

int HostResult::count(const std::string& line) const {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> HostResult::linesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
}

HostRun HostRun::For(const World& world) {
    HostRun run;
    run.drives['D'] = world.root();
    run.registryFile = world.root() + "/registry.ini";  // where World writes "AppPath"
    return run;
}

HostResult HostRun::execute() const {
    std::string folder = (fs::temp_directory_path() / "velmarin-run-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return {};
    const fs::path dir(folder);

    std::string command = "timeout " + std::to_string(timeoutSeconds) + " " +
                          ShellQuoted(program.empty() ? BinaryDir() + "/velmarin-host" : program);
    for (const auto& [letter, path] : drives) {
        command += " --drive " + ShellQuoted(std::string(1, letter) + "=" + path);
    }
    if (!registryFile.empty()) command += " --registry " + ShellQuoted(registryFile);
    if (passScript) {
        std::ofstream(dir / "script.txt", std::ios::binary) << script;
        command += " --script " + ShellQuoted((dir / "script.txt").string());
    }
    for (const std::string& option : options) command += " " + ShellQuoted(option);
    for (const std::string& drawing : drawings) command += " " + ShellQuoted(drawing);
    command += " </dev/null >" + ShellQuoted((dir / "out").string()) + " 2>" +
               ShellQuoted((dir / "err").string()) + "; echo $? >" +
               ShellQuoted((dir / "status").string());

    HostResult result;
    if (std::system(command.c_str()) == 0) {
        result.exitStatus = std::atoi(Slurp(dir / "status").c_str());
        result.out = Slurp(dir / "out");
        result.err = Slurp(dir / "err");
        result.lines = SplitLines(result.out);
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return result;
}

}  // namespace velmarin::testing
