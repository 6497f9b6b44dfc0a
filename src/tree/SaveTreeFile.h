#pragma once

#include <string>

namespace velmarin {

class Drawings;

// The tree file of a save: one node for the current drawing with its title block read by
// attributes, replacing whatever an earlier save or batch run left. Its path, or "" when the file
// could not be written (the old file then describes another save and must not be handed on).
std::string WriteSaveTreeFile(const std::string& clientFolder, Drawings& drawings);

}  // namespace velmarin
