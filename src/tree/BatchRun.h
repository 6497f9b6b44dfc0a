#pragma once

namespace velmarin {

class BomWorkspace;
class Drawings;
class VordClient;

// The batch run: the user picks drawings; each is opened, written to the tree file with its
// title block and BOM, and closed; parts are linked to their assemblies and the tree file goes
// to the VORD client. Progress and a summary go to the command line.
void BatchRun(VordClient& vord, Drawings& drawings, BomWorkspace& bom);

}  // namespace velmarin
