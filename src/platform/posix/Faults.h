#pragma once
// Failures a reliability test can switch on in the posix platform; everything is off by default.
// A failed write never touches its target: the temporary file is removed.

#include <cstdint>
#include <optional>

namespace velmarin::platform::posix {

struct Faults {
    int failProfileWrites = 0;         // the next N profile writes fail (counted down)
    bool failCreateFile = false;       // createFile returns null
    bool failRename = false;           // no temporary file may replace its target
    bool failCreateDirectory = false;  // createDirectory fails
    // Bytes that can still be written, across all files; a write beyond them fails as on a full
    // disk. Nothing means unlimited.
    std::optional<std::uint64_t> diskSpace;
};

}  // namespace velmarin::platform::posix
