#pragma once
// The print flow: information the VORD side leaves beside a drawing, in a file named after the
// drawing's full file name with ".print.ini" appended, is stamped into the drawing as texts
// beside the frame corner whenever the drawing is loaded, and the file is then deleted.

namespace velmarin::print {

// Works on the host's current document; does nothing when there is none.
void ApplyPrintFlow();

}  // namespace velmarin::print
