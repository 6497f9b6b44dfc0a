#include "InspectOptions.h"

#include "Options.h"  // velmarin-host's parser, for the options both programs share
#include "platform/FileText.h"
#include "util/Paths.h"

namespace velmarin::inspect {
namespace {

// Takes "--svg FILE", "--svg=FILE" and "--check" out of `args`; the rest is left for the
// emulator's parser.
bool TakeOwnOptions(std::vector<std::string>& args, InspectOptions& options, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--check") {
            options.check = true;
        } else if (arg == "--svg") {
            if (i + 1 >= args.size()) {
                error = "--svg needs a value";
                return false;
            }
            options.svgFile = args[++i];
        } else if (arg.rfind("--svg=", 0) == 0) {
            options.svgFile = arg.substr(6);
        } else {
            rest.push_back(arg);
            // A value of a shared option is never taken for one of ours.
            if ((arg == "--drive" || arg == "--registry") && i + 1 < args.size()) {
                rest.push_back(args[++i]);
            }
        }
    }
    args = std::move(rest);
    return true;
}

// A Windows path names a file of the system, whose paths are GBK; a command line in UTF-8 gives
// it in UTF-8. A POSIX path is the file system's bytes and stays as it is.
std::string AsSystemPath(const std::string& argument) {
    return util::DriveOf(argument).empty() ? argument : platform::LineAsGbk(argument);
}

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& arguments, InspectOptions& options,
                         std::string& error) {
    std::vector<std::string> args = arguments;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return ParseResult::Help;
        if (arg == "--version") return ParseResult::Version;
    }
    const bool svgGiven = [&] {
        for (const std::string& arg : args) {
            if (arg == "--svg" || arg.rfind("--svg=", 0) == 0) return true;
        }
        return false;
    }();
    if (!TakeOwnOptions(args, options, error)) return ParseResult::Error;
    if (svgGiven && options.svgFile.empty()) {
        error = "--svg needs a value";
        return ParseResult::Error;
    }

    emulator::HostOptions shared;
    switch (emulator::ParseOptions(args, shared, error)) {
        case emulator::ParseResult::Run:
            break;
        case emulator::ParseResult::Help:
            return ParseResult::Help;
        case emulator::ParseResult::Version:
            return ParseResult::Version;
        case emulator::ParseResult::Error:
            return ParseResult::Error;
    }
    // The emulator's own options load and drive the plug-in, which the inspector never does.
    if (!shared.moduleFile.empty() || !shared.scriptFile.empty()) {
        error = std::string("unknown option \"") +
                (shared.moduleFile.empty() ? "--script" : "--module") + "\"";
        return ParseResult::Error;
    }
    options.drives = shared.drives;
    options.registryFile = shared.registryFile;
    options.svgFile = AsSystemPath(options.svgFile);

    if (options.check) {
        if (!shared.drawings.empty()) {
            error = "--check takes no DRAWING, got \"" + shared.drawings.front() + "\"";
            return ParseResult::Error;
        }
        if (!options.svgFile.empty()) {
            error = "--svg draws a DRAWING and cannot go with --check";
            return ParseResult::Error;
        }
    } else if (shared.drawings.size() != 1) {
        error = shared.drawings.empty()
                    ? "a DRAWING to inspect is missing (or give --check)"
                    : "one DRAWING at a time, got " + std::to_string(shared.drawings.size());
        return ParseResult::Error;
    } else {
        options.drawing = AsSystemPath(shared.drawings.front());
    }
    return emulator::CheckInputs(shared, error) ? ParseResult::Run : ParseResult::Error;
}

std::string UsageText() {
    return "usage: velmarin-inspect [--drive L=DIR]... [--registry FILE] [--svg OUT.svg] DRAWING\n"
           "       velmarin-inspect --check [--drive L=DIR]... [--registry FILE]\n"
           "\n"
           "Shows what the Velmarin plug-in reads from a drawing (title block, parts list, print\n"
           "flow) without loading the plug-in and without changing any file, or checks that a\n"
           "VORD client installation holds what the plug-in's commands need.\n"
           "\n"
           "  --drive L=DIR     map drive letter L to folder DIR (repeatable)\n"
           "  --registry FILE   INI file standing for HKEY_LOCAL_MACHINE\n"
           "  --svg OUT.svg     also draw the drawing's model space as an SVG picture\n"
           "  --check           check the installation: one line per item, with the fix\n"
           "  --help, --version\n"
           "\n"
           "Drawings are the emulator's JSON drawing files or DXF files. Exit status: 0 when the\n"
           "report was written (with --check: when everything is in place), 1 when the drawing\n"
           "cannot be read or the picture cannot be written (with --check: when something is\n"
           "missing), 2 for a bad option or a missing drive folder or registry file.\n";
}

}  // namespace velmarin::inspect
