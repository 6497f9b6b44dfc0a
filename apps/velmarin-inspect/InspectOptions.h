#pragma once
// The command line of velmarin-inspect. The drive and registry options are those of
// velmarin-host and are read by its parser; --check and --svg are the inspector's own.

#include <map>
#include <string>
#include <vector>

namespace velmarin::inspect {

struct InspectOptions {
    std::map<char, std::string> drives;  // upper-case letter -> folder
    std::string registryFile;            // empty: no registry values at all
    bool check = false;                  // diagnose the installation instead of a drawing
    std::string svgFile;                 // empty: no picture; GBK when on a drive
    std::string drawing;  // the drawing to inspect (not with --check); GBK when on a drive
};

enum class ParseResult { Run, Help, Version, Error };

// Reads argv[1..]. On Error, `error` holds one line naming the problem. The drive folders and
// the registry file must exist.
ParseResult ParseOptions(const std::vector<std::string>& args, InspectOptions& options,
                         std::string& error);

std::string UsageText();

}  // namespace velmarin::inspect
