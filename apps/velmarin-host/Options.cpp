#include "Options.h"

#include "platform/NativeFiles.h"

namespace velmarin::emulator {
namespace {

bool ParseDrive(const std::string& mapping, HostOptions& options, std::string& error) {
    const char letter = mapping.empty() ? '\0' : mapping[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    if (!isLetter || mapping.size() < 3 || mapping[1] != '=') {
        error = "--drive expects L=DIR, got \"" + mapping + "\"";
        return false;
    }
    const char upper = (letter >= 'a') ? static_cast<char>(letter - 'a' + 'A') : letter;
    options.drives[upper] = mapping.substr(2);
    return true;
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args, HostOptions& options,
                         std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") return ParseResult::Help;
        if (arg == "--version") return ParseResult::Version;

        // Options with a value take it from "--name=VALUE" or from the next argument.
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        const std::size_t equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            hasValue = true;
        }
        const bool takesValue =
            name == "--drive" || name == "--registry" || name == "--module" || name == "--script";
        if (takesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return ParseResult::Error;
            }
            value = args[++i];
        }

        if (name == "--drive") {
            if (!ParseDrive(value, options, error)) return ParseResult::Error;
        } else if (name == "--registry") {
            options.registryFile = value;
        } else if (name == "--module") {
            options.moduleFile = value;
        } else if (name == "--script") {
            options.scriptFile = value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option \"" + arg + "\"";
            return ParseResult::Error;
        } else {
            options.drawings.push_back(arg);
        }
    }
    return ParseResult::Run;
}

std::string UsageText() {
    return "usage: velmarin-host [--drive L=DIR]... [--registry FILE] [--module FILE]\n"
           "                     [--script FILE] [DRAWING]...\n"
           "\n"
           "Loads the Velmarin plug-in into an emulated CAD host, opens the drawings (or a new\n"
           "Drawing1.dwg), runs the command script and prints what the user would see.\n"
           "\n"
           "Options:\n"
           "  --drive L=DIR     map drive letter L to folder DIR (repeatable)\n"
           "  --registry FILE   INI file standing for HKEY_LOCAL_MACHINE (UTF-8 or GBK)\n"
           "  --module FILE     the plug-in module (default: Velmarin.arx beside this program)\n"
           "  --script FILE     the command script (default: standard input)\n"
           "  DRAWING           a drawing to open before the script runs, as with open\n"
           "  --help            this text\n"
           "  --version         the program's version\n"
           "\n"
           "Script lines (verbs ignore letter case; empty lines and lines starting with # are\n"
           "skipped):\n"
           "  open PATH         open a drawing, make it current and load it\n"
           "  new NAME          create a never-saved drawing named NAME, make it current, load it\n"
           "  activate PATH     make the open drawing of that file name current\n"
           "  close             close the current drawing\n"
           "  pick all|cancel   answer the next object selection: all of model space, or cancel\n"
           "  dialog PATH...|cancel  answer the next file-open dialog: these files, or cancel\n"
           "  wait MS           run the message loop for MS milliseconds; due timers fire\n"
           "  export PATH       write the current drawing to PATH without renaming it\n"
           "  echo TEXT         print TEXT\n"
           "  COMMAND ...       anything else runs the registered command of that name\n"
           "\n"
           "Exit status: 0 when the script ran cleanly, 1 when a script line failed (each\n"
           "failure is one line on standard error), 2 for a bad option or a missing module,\n"
           "script, drive folder or registry file.\n";
}

bool IsReadableFile(const std::string& path) {
    const platform::PathKind kind = platform::KindOfPath(path);
    return kind == platform::PathKind::File || kind == platform::PathKind::ReadOnlyFile;
}

std::string NotFoundLine(const std::string& what, const std::string& path) {
    if (platform::KindOfPath(path) == platform::PathKind::TooLong) {
        return what + " not reachable, its path is longer than the " +
               std::to_string(platform::kMaxAnsiPath) +
               " characters Windows' file functions take: " + path;
    }
    return what + " not found: " + path;
}

bool CheckInputs(const HostOptions& options, std::string& error) {
    for (const auto& [letter, folder] : options.drives) {
        if (platform::KindOfPath(folder) != platform::PathKind::Folder) {
            error = NotFoundLine(std::string("drive ") + letter + ": folder", folder);
            return false;
        }
    }
    if (!options.registryFile.empty() && !IsReadableFile(options.registryFile)) {
        error = NotFoundLine("registry file", options.registryFile);
        return false;
    }
    if (!options.scriptFile.empty() && !IsReadableFile(options.scriptFile)) {
        error = NotFoundLine("script", options.scriptFile);
        return false;
    }
    return true;
}

}  // namespace velmarin::emulator
