#pragma once

#include <string>

namespace velmarin::commands {

// Values carried from one step of the save commands to the next, and kept between commands.
struct SaveContext {
    std::string SavePath;
    std::string SaveReturn2;
    std::string SaveReturn3;
    std::string TreeFilePath;
};

}  // namespace velmarin::commands
