#include "drawing/TitleBlockReader.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/ModelSpace.h"
#include "util/FixedTexts.h"
#include "util/IniValues.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin {
namespace {

using namespace title_template;

// The numbers i, ascending, of the template's sections "BLOCK<i>" with 1 <= i <= count. A number
// without a section reads as an entry with an empty block name; knowing which sections exist
// keeps a wild BLOCKCOUNT from turning into billions of reads.
std::vector<int> EntryNumbers(const std::string& templatePath, int count) {
    std::vector<int> numbers;
    const std::size_t prefixLength = sizeof(kEntrySectionPrefix) - 1;
    for (const std::string& name : util::ReadIniNames(nullptr, templatePath)) {
        if (name.size() <= prefixLength || name.size() > prefixLength + 10) continue;
        const std::string digits = name.substr(prefixLength);
        if (!std::all_of(digits.begin(), digits.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        const int number = text::LeadingInt(digits);
        if (number < 1 || number > count) continue;
        if (!text::EqualsNoCase(name, kEntrySectionPrefix + std::to_string(number))) continue;
        numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

int BlockCount(const std::string& templatePath, std::string* countText = nullptr) {
    std::string written;
    util::ReadIniString(kCountSection, kBlockCountKey, written, templatePath);
    if (countText != nullptr) *countText = written;
    return text::LeadingInt(written);
}

}  // namespace

TitleTemplateListing ListTitleTemplate(const std::string& templatePath, int mostEntries) {
    TitleTemplateListing listing;
    listing.exists = util::FileExists(templatePath);
    if (!listing.exists) return listing;
    listing.count = BlockCount(templatePath, &listing.countText);
    const std::vector<int> present = EntryNumbers(templatePath, listing.count);
    for (int number = 1; number <= listing.count && number <= mostEntries; ++number) {
        TitleTemplateEntry entry;
        entry.number = number;
        entry.present = std::binary_search(present.begin(), present.end(), number);
        if (entry.present) {
            const std::string section = kEntrySectionPrefix + std::to_string(number);
            util::ReadIniString(section, kBlockNameKey, entry.blockName, templatePath);
            for (const std::string& tag : util::ReadIniNames(section.c_str(), templatePath)) {
                if (text::EqualsNoCase(tag, kBlockNameKey)) continue;
                std::string property;
                util::ReadIniString(section, tag, property, templatePath);
                if (!property.empty()) entry.wanted.emplace_back(tag, property);
            }
        }
        listing.entries.push_back(std::move(entry));
    }
    std::string blockProperty;
    util::ReadIniString(kInfoSection, kBlockPropertyKey, blockProperty, templatePath);
    listing.textMode = blockProperty == kTextMode;
    util::ReadIniString(kInfoSection, kSeparatorKey, listing.separator, templatePath);
    return listing;
}

bool TitleBlockReader::FindEntrySection(const std::string& blockName, std::string& section) const {
    const std::string& templatePath = templatePath_;
    const int count = BlockCount(templatePath);
    if (count < 1) return false;

    int expected = 1;  // the lowest number not looked at yet
    for (const int number : EntryNumbers(templatePath, count)) {
        // Entries without a section have an empty name; only an empty name matches them.
        if (number > expected && blockName.empty()) {
            section = kEntrySectionPrefix + std::to_string(expected);
            return true;
        }
        const std::string candidate = kEntrySectionPrefix + std::to_string(number);
        std::string name;
        util::ReadIniString(candidate, kBlockNameKey, name, templatePath);
        if (name == blockName) {
            section = candidate;
            return true;
        }
        expected = number + 1;
    }
    if (blockName.empty() && expected <= count) {
        section = kEntrySectionPrefix + std::to_string(expected);
        return true;
    }
    return false;
}

std::vector<PropertyRecord> TitleBlockReader::Collect(host::BlockTableRecord& space) const {
    std::vector<PropertyRecord> collected;
    host::Database* database = host::installed() ? host::current().workingDatabase() : nullptr;
    if (database == nullptr) return collected;
    for (const host::ObjectId id : space.entityIds()) {
        host::Opened<host::BlockReference> reference(
            host::openAs<host::BlockReference>(*database, id, host::OpenMode::ForRead));
        if (!reference) continue;

        std::string blockName;
        {
            host::Opened<host::BlockTableRecord> definition(host::openAs<host::BlockTableRecord>(
                *database, reference->blockTableRecord(), host::OpenMode::ForRead));
            if (!definition) continue;
            blockName = definition->getName();
        }
        std::string section;
        const bool matched = FindEntrySection(blockName, section);
        if (observer_ != nullptr) {
            observer_->blockReference(blockName, matched ? section : "", reference->position());
        }
        if (!matched) continue;

        for (const host::ObjectId attributeId : reference->attributeIds()) {
            host::Opened<host::Attribute> attribute(
                host::openAs<host::Attribute>(*database, attributeId, host::OpenMode::ForRead));
            if (!attribute || attribute->isErased()) continue;
            std::string property;
            if (!util::ReadIniString(section, attribute->tag(), property, templatePath_)) {
                property.clear();
            }
            if (observer_ != nullptr) {
                observer_->attribute(attribute->tag(), attribute->textString(), property,
                                     attribute->position());
            }
            if (property.empty()) continue;
            collected.push_back({property, attribute->textString(), title_template::kPropertyType});
        }
    }
    return collected;
}

}  // namespace velmarin
