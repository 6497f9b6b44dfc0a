#pragma once
// The emulator's drawing files: UTF-8 JSON with layers, model-space entities and block
// definitions (docs/drawing-file.md). Texts become GBK when read and UTF-8 again when written.

#include <string>

#include "host/HostTypes.h"

namespace velmarin::host::sim {

class SimDatabase;

// Reads drawing-file bytes into `db`, a fresh database. On failure `error` is one line naming
// `label` (the file as the user named it), the line and column, and the problem; `db` is then
// partly filled and should be discarded.
bool ReadDrawing(const std::string& bytes, const std::string& label, SimDatabase& db,
                 std::string& error);
std::string WriteDrawing(const SimDatabase& db);

// Whole files at a file-system path. Loading answers eOk, eFileAccessErr (the file cannot be
// read) or eInvalidInput (it is not a drawing file); a DXF file (dxf/File.h) is told by its
// content. Saving writes DXF to a path ending in .dxf and the JSON format to any other, to a
// temporary file beside the target renamed over the target, so the target is never left
// half-written.
ErrorStatus LoadDrawingFile(const std::string& path, const std::string& label, SimDatabase& db,
                            std::string& error);
bool SaveDrawingFile(const SimDatabase& db, const std::string& path, const std::string& label,
                     std::string& error);

}  // namespace velmarin::host::sim
