#pragma once

namespace velmarin {

// The batch run: the user picks drawings; each is opened, written to the tree file with its
// title block and BOM, and closed; parts are linked to their assemblies and the tree file goes
// to the VORD client.
void BatchRun();

}  // namespace velmarin
