// velmarin-host: loads the plug-in into an emulated CAD editor, runs a command script and prints
// what the user would see.

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Console.h"
#include "Options.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "platform/ModulePath.h"
#include "platform/NativeFiles.h"

#ifndef VELMARIN_VERSION
#define VELMARIN_VERSION "unknown"
#endif

namespace {

namespace emulator = velmarin::emulator;

constexpr int kExitScriptFailed = 1;
constexpr int kExitUsage = 2;

void ThisProgram() {}

std::string ProgramPath() {
    return velmarin::platform::ModulePathOf(reinterpret_cast<const void*>(&ThisProgram));
}

std::string DefaultModule(const std::string& program) {
    return velmarin::platform::BesideFile(program, "Velmarin.arx");
}

// The program's own lines name files as the system spells them; a person reads them in UTF-8.
void ReportNative(emulator::Console& console, const std::string& error) {
    console.error(velmarin::platform::NativeTextToUtf8(error));
}

}  // namespace

int main(int argc, char** argv) {
    emulator::Console console(std::cout, std::cerr);
    emulator::HostOptions options;
    std::string error;
    const std::vector<std::string> args(argv + 1, argv + argc);
    switch (emulator::ParseOptions(args, options, error)) {
        case emulator::ParseResult::Help:
            std::cout << emulator::UsageText();
            return 0;
        case emulator::ParseResult::Version:
            std::cout << "velmarin-host " << VELMARIN_VERSION << '\n';
            return 0;
        case emulator::ParseResult::Error:
            ReportNative(console, error + " (see --help)");
            return kExitUsage;
        case emulator::ParseResult::Run:
            break;
    }
    // Missing folders and files of the command line are reported before anything is loaded.
    if (!emulator::CheckInputs(options, error)) {
        ReportNative(console, error);
        return kExitUsage;
    }

    const std::string program = ProgramPath();
    const std::string module =
        options.moduleFile.empty() ? DefaultModule(program) : options.moduleFile;
    std::ifstream scriptFile;
    if (!options.scriptFile.empty()) scriptFile.open(options.scriptFile, std::ios::binary);
    if (!options.scriptFile.empty() && !scriptFile) {
        ReportNative(console, "cannot read script " + options.scriptFile);
        return kExitUsage;
    }

    emulator::Session session(options, module, program, console);
    if (!session.loadModule(error)) {
        ReportNative(console, error);
        return kExitUsage;
    }
    int failures = session.openStartDrawings(options.drawings);
    // The script's name starts each of its error lines, which are UTF-8.
    emulator::ScriptRunner runner(session, console,
                                  options.scriptFile.empty()
                                      ? "<stdin>"
                                      : velmarin::platform::NativeTextToUtf8(options.scriptFile));
    failures += runner.run(options.scriptFile.empty() ? std::cin : scriptFile);
    session.finish();
    return failures == 0 ? 0 : kExitScriptFailed;
}
