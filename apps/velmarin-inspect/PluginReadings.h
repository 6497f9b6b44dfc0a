#pragma once
// The plug-in's own readers run on the open drawing, with observers and accessors recording what
// they decided: the title-block readers, the table recognition and layout analysis, the frame
// corner and the print flow file's parser. Nothing is written: no tree file, no BOM detail file,
// no stamped text, and the print flow file stays where it is.

#include <string>

#include "Installation.h"
#include "Report.h"

namespace velmarin::inspect {

// The working database's model space through the readers the save command and the batch run use.
TitleBlockReading ReadTitleBlockReading(const Installation& installation);

// The table the save command would find in its selection window; `bomPath` is the detail file
// the rows would go to.
PartsListReading ReadPartsListReading(const std::string& bomPath);

// What a load would stamp from the print flow file at `printFilePath`; nothing when it does not
// exist.
std::optional<PrintFlowReading> ReadPrintFlowReading(const std::string& printFilePath);

}  // namespace velmarin::inspect
