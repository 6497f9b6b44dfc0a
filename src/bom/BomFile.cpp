#include "bom/BomFile.h"

#include <array>
#include <cstddef>
#include <memory>

#include "bom/BomFileFormat.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"

namespace velmarin::bom {
namespace {

constexpr std::size_t kWriteChunkBytes = 64 * 1024;

}  // namespace

bool WriteDetailFile(const std::string& path, const std::vector<BomInfo>& rows) {
    std::unique_ptr<platform::OutputFile> file = platform::current().createFile(path);
    if (!file) {
        util::ShowMessage(texts::kCannotCreateFile);
        return false;
    }
    bool written = true;
    std::string buffer = BomFileHeader();
    for (std::size_t r = 1; r < rows.size() && written; ++r) {
        std::array<const std::string*, kColumnKinds> values{};
        for (int slot = 0; slot < kColumnKinds; ++slot) {
            values[static_cast<std::size_t>(slot)] = &rows[r].slot(slot);
        }
        AppendBomLine(buffer, values);
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

bool WriteDetailFiles(const std::vector<std::vector<BomInfo>>& partsLists) {
    // The files are flushed one after another and replace theirs together at the end, with one
    // flush per folder.
    platform::CommitGroup detailFiles(platform::current());
    bool replaced = true;
    for (const std::vector<BomInfo>& rows : partsLists) {
        if (rows.size() > 1) replaced = WriteDetailFile(rows.front().bomPath, rows) && replaced;
    }
    return replaced;
}

}  // namespace velmarin::bom
