#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "bom/BomFileFormat.h"
#include "bom/BomWorkspace.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"

namespace velmarin {
namespace {

constexpr std::size_t kWriteChunkBytes = 64 * 1024;

// Writes the header and `rowCount` row lines into a new file that replaces `path` only once it
// is complete: a file that cannot be created, or a write that fails (a full disk), leaves the
// old file in place. `valuesOf(k)` gives the slot values of row line k. True when replaced.
template <typename ValuesOf>
bool WriteBomLines(const std::string& path, std::size_t rowCount, ValuesOf valuesOf) {
    std::unique_ptr<platform::OutputFile> file = platform::current().createFile(path);
    if (!file) {
        util::ShowMessage(texts::kCannotCreateFile);
        return false;
    }
    bool written = true;
    std::string buffer = bom::BomFileHeader();
    for (std::size_t k = 0; k < rowCount && written; ++k) {
        bom::AppendBomLine(buffer, valuesOf(k));
        if (buffer.size() >= kWriteChunkBytes) {
            written = file->write(buffer);
            buffer.clear();
        }
    }
    if (written && !buffer.empty()) written = file->write(buffer);
    if (!written || !file->commit()) {
        util::ShowMessage(std::string(texts::kWriteFileFailed) + path);
        return false;
    }
    return true;
}

}  // namespace

void BomWorkspace::WriteBomFile(const std::string& path) {
    // Band 0, the lowest one, holds the titles and is not written.
    const std::size_t bands = gridY_.size() < 2 ? 0 : gridY_.size() - 1;
    const std::size_t rowCount = bands < 2 ? 0 : bands - 1;
    const bool replaced = WriteBomLines(path, rowCount, [this](std::size_t k) {
        std::array<const std::string*, kColumnKinds> values{};
        for (int slot = 0; slot < kColumnKinds; ++slot) {
            const auto& list = columnValues_[static_cast<std::size_t>(slot)];
            const std::size_t position = k + 1;
            static const std::string empty;
            values[static_cast<std::size_t>(slot)] =
                position < list.size() ? &list[position] : &empty;
        }
        return values;
    });
    if (replaced && bands >= 1) util::ShowMessage(texts::kBomExtracted);
}

void BomWorkspace::WriteBomFileRows(int rowCount, int firstRow, const std::string& path) {
    // Row firstRow holds the drawing's titles and is not written. Rows past the end of rows_
    // are not invented: the file ends with the last row that exists.
    std::size_t lines = 0;
    if (rowCount > 1 && firstRow >= 0 && static_cast<std::size_t>(firstRow) < rows_.size()) {
        const std::size_t available = rows_.size() - static_cast<std::size_t>(firstRow) - 1;
        const std::size_t wanted = static_cast<std::size_t>(rowCount) - 1;
        lines = wanted < available ? wanted : available;
    }
    WriteBomLines(path, lines, [this, firstRow](std::size_t k) {
        const BomInfo& row = rows_[static_cast<std::size_t>(firstRow) + 1 + k];
        std::array<const std::string*, kColumnKinds> values{};
        for (int slot = 0; slot < kColumnKinds; ++slot) {
            values[static_cast<std::size_t>(slot)] = &row.slot(slot);
        }
        return values;
    });
}

}  // namespace velmarin
