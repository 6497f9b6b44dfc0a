#pragma once
// DXF drawings in the emulator (docs/dxf-drawings.md). A DXF file read into a database keeps
// its bytes with the database, so that writing the drawing back gives every section, table,
// object and entity back as it was, with the emulator's changes (new texts and layers, a new
// $HANDSEED, entities changed through the host) in their places. A database that came from
// elsewhere is written as a new file of the 2000 format in code page 936.

#include <memory>
#include <string>

namespace velmarin::host::sim {

class SimDatabase;

// Whether bytes are a DXF file: ASCII group-code/value pairs ("0", "SECTION", possibly after
// comments) or the binary sentinel, which ReadDxf refuses.
bool LooksLikeDxf(const std::string& bytes);
// Whether a path names a DXF file by its extension (ignoring letter case).
bool IsDxfPath(const std::string& path);

// Reads DXF bytes into `db`, a fresh database. On failure `error` is one line naming `label`
// and, where there is one, the line of the problem; `db` is then partly filled and should be
// discarded.
bool ReadDxf(std::string bytes, const std::string& label, SimDatabase& db, std::string& error);
// The same for a caller that only has bytes and a name: the drawing, or null and the error.
std::unique_ptr<SimDatabase> LoadDxf(std::string bytes, const std::string& label,
                                     std::string& error);

std::string WriteDxf(const SimDatabase& db);

}  // namespace velmarin::host::sim
