#pragma once
// Title-block properties by attributes: a block reference whose block is named in an entry
// BLOCK<i> of the template gives each attribute whose tag the entry names a property for.

#include <string>
#include <utility>
#include <vector>

#include "drawing/TitleProperties.h"
#include "host/Host.h"

namespace velmarin {

// One entry BLOCK<number> of the title-block template.
struct TitleTemplateEntry {
    int number = 0;
    bool present = false;   // its section exists; one that does not has an empty block name
    std::string blockName;  // BLOCK_NAME
    // The tags it takes, each with the property name it gives, in file order.
    std::vector<std::pair<std::string, std::string>> wanted;
};

// What the template says, as the readers read it.
struct TitleTemplateListing {
    bool exists = false;
    std::string countText;                    // BLOCKCOUNT as written
    int count = 0;                            // as the readers take it
    std::vector<TitleTemplateEntry> entries;  // BLOCK1 .. BLOCK<min(count, mostEntries)>
    bool textMode = false;                    // [Info] BlockPty=false: title texts in the batch run
    std::string separator;                    // [Info] TextChar
};

// Lists the template for a person (the readers look entries up one by one).
TitleTemplateListing ListTitleTemplate(const std::string& templatePath, int mostEntries);

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
