#include "drawing/TitleTextReader.h"

#include <string>
#include <vector>

#include "util/FixedTexts.h"
#include "util/IniValues.h"
#include "util/Text.h"

namespace velmarin {
namespace {

constexpr int kFormatGroupPasses = 4;

// Takes the paragraph codes "\P" off both ends, each as a whole: a code is only one where its
// backslash starts a character, never where it is the trail byte of a double-byte character.
std::string StripParagraphCodes(const std::string& s) {
    std::size_t begin = 0;
    while (s.compare(begin, 2, texts::kParagraphCode) == 0) begin += 2;
    std::size_t trailingRun = text::npos;  // start of the codes that reach the end so far
    for (std::size_t i = begin; i < s.size();) {
        if (s.compare(i, 2, texts::kParagraphCode) == 0) {
            if (trailingRun == text::npos) trailingRun = i;
            i += 2;
        } else {
            trailingRun = text::npos;
            i += text::CharWidth(s, i);
        }
    }
    const std::size_t end = trailingRun == text::npos ? s.size() : trailingRun;
    return s.substr(begin, end - begin);
}

// Where a colon stands: its byte position and its length (1 for ":", 2 for "：").
struct Colon {
    std::size_t position;
    std::size_t length;
};

// The first `limit` colons of either kind, each double-byte character taken as one unit.
std::vector<Colon> FindColons(const std::string& s, std::size_t limit) {
    std::vector<Colon> colons;
    const std::string fullWidth = texts::kFullWidthColon;
    for (std::size_t i = 0; i < s.size() && colons.size() < limit; i += text::CharWidth(s, i)) {
        if (s[i] == ':') {
            colons.push_back({i, 1});
        } else if (s.compare(i, fullWidth.size(), fullWidth) == 0) {
            colons.push_back({i, fullWidth.size()});
        }
    }
    return colons;
}

// Replaces the first "{\...}" group by its text: what follows the group's first ";", or what
// follows its "{" when it has none. False when there is no complete group.
bool UnwrapFirstFormatGroup(std::string& s) {
    const std::size_t open = text::Find(s, "{\\");
    if (open == text::npos) return false;
    const std::size_t close = text::Find(s, '}', open + 2);
    if (close == text::npos) return false;
    const std::size_t semicolon = text::Find(s, ';', open + 2);
    const std::size_t innerStart =
        semicolon != text::npos && semicolon < close ? semicolon + 1 : open + 1;
    s = s.substr(0, open) + s.substr(innerStart, close - innerStart) + s.substr(close + 1);
    return true;
}

}  // namespace

std::vector<PropertyRecord> TitleTextReader::Collect(host::BlockTableRecord& space) const {
    std::vector<PropertyRecord> collected;
    host::Database* database = host::installed() ? host::current().workingDatabase() : nullptr;
    if (database == nullptr) return collected;
    const std::string& separator = separator_;
    const auto add = [&](const std::string& contents, const std::string& label,
                         const std::string& value, const host::Point3& position) {
        std::string property = LookupPropertyName(label);
        if (observer_ != nullptr) observer_->titleText(contents, label, value, property, position);
        collected.push_back({std::move(property), value, title_template::kPropertyType});
    };
    for (const host::ObjectId id : space.entityIds()) {
        host::Opened<host::Entity> entity(
            host::openAs<host::Entity>(*database, id, host::OpenMode::ForRead));
        if (!entity) continue;
        // By exact class name: attributes and attribute definitions derive from text but are
        // not title texts.
        const std::string className = entity->className();
        std::string left;
        std::string right;
        if (className == texts::kMTextClassName) {
            const auto* mtext = dynamic_cast<const host::MText*>(entity.get());
            if (mtext == nullptr) continue;
            const std::string& contents = mtext->contents();
            if (separator == ":") {
                if (!text::Contains(contents, ":") &&
                    !text::Contains(contents, texts::kFullWidthColon))
                    continue;
                SplitColonText(contents, left, right);
            } else {
                if (!text::Contains(contents, separator)) continue;
                SplitAtSeparator(contents, separator, left, right);
            }
            add(contents, left, right, mtext->location());
        } else if (className == texts::kTextClassName) {
            const auto* single = dynamic_cast<const host::Text*>(entity.get());
            if (single == nullptr || !text::Contains(single->textString(), separator)) continue;
            SplitAtSeparator(single->textString(), separator, left, right);
            add(single->textString(), left, right, single->position());
        }
    }
    return collected;
}

std::string TitleTextReader::LookupPropertyName(const std::string& label) const {
    std::string name;
    util::ReadIniString(title_template::kPropertyNamesSection, label, name, templatePath_);
    return name.empty() ? label : name;
}

void TitleTextReader::SplitAtSeparator(const std::string& textValue, const std::string& separator,
                                       std::string& left, std::string& right) {
    const std::size_t at = text::Find(textValue, separator);
    if (at == text::npos) {
        left = textValue;
        right.clear();
        return;
    }
    left = textValue.substr(0, at);
    right = textValue.substr(at + separator.size());
}

void TitleTextReader::SplitColonText(const std::string& textValue, std::string& name,
                                     std::string& value) {
    name.clear();
    value.clear();
    const std::vector<Colon> colons = FindColons(textValue, 3);
    if (colons.size() == 1) {
        const Colon& colon = colons.front();
        if (colon.position == 0) return;
        name = StripTextFormatting(textValue.substr(0, colon.position));
        value = StripTextFormatting(textValue.substr(colon.position + colon.length));
    } else if (colons.size() == 2) {
        // Only a scale such as 比例:1:5 has two colons that belong together.
        if (!text::Contains(textValue, texts::kScaleMark1) ||
            !text::Contains(textValue, texts::kScaleMark2)) {
            return;
        }
        // Editors wrap such texts in format groups ({\fSimSun;比例:1:2}); split inside them.
        const std::string scale = StripTextFormatting(textValue);
        const std::size_t colon = text::Find(scale, ':');
        if (colon == text::npos) {
            value = scale;
            return;
        }
        name = StripTextFormatting(scale.substr(0, colon));
        value = StripTextFormatting(scale.substr(colon + 1));
    }
}

// Only the paragraph code "\P" as a whole is taken off the ends: a "P" that belongs to the text
// itself (PUMP) stays.
std::string TitleTextReader::StripTextFormatting(const std::string& textValue) {
    std::string s = text::Trim(textValue);
    for (;;) {
        const std::string before = s;
        s = text::Trim(StripParagraphCodes(s));
        if (s == before) break;
    }
    for (int pass = 0; pass < kFormatGroupPasses; ++pass) {
        if (!UnwrapFirstFormatGroup(s)) break;
    }
    return s;
}

}  // namespace velmarin
