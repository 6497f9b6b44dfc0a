#pragma once
// Title-block properties by attributes: a block reference whose block is named in an entry
// BLOCK<i> of the template gives each attribute whose tag the entry names a property for.

#include <string>
#include <vector>

#include "drawing/TitleProperties.h"
#include "host/Host.h"

namespace velmarin {

class TitleBlockReader {
public:
    explicit TitleBlockReader(std::string templatePath, TitleReadObserver* observer = nullptr)
        : templatePath_(std::move(templatePath)), observer_(observer) {}

    // The first entry BLOCK<i>, 1 <= i <= BLOCKCOUNT, whose BLOCK_NAME equals `blockName` exactly.
    bool FindEntrySection(const std::string& blockName, std::string& section) const;
    // The properties of every matching reference in `space`, in entity and attribute order.
    std::vector<PropertyRecord> Collect(host::BlockTableRecord& space) const;

private:
    std::string templatePath_;
    TitleReadObserver* observer_;
};

}  // namespace velmarin
