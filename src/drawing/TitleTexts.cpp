#include <string>
#include <vector>

#include "drawing/ModelSpace.h"
#include "drawing/TdaAutocad.h"
#include "tree/AssNode.h"
#include "util/FixedTexts.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin {
namespace {

constexpr const char kInfoSection[] = "Info";
constexpr const char kBlockPropertyKey[] = "BlockPty";
constexpr const char kSeparatorKey[] = "TextChar";
constexpr const char kPropertyNamesSection[] = "PtyNames";
constexpr const char kTextMode[] = "false";
constexpr const char kTextClass[] = "AcDbText";
constexpr const char kMTextClass[] = "AcDbMText";
constexpr const char kParagraphCode[] = "\\P";
constexpr const char kReadType[] = "0";
constexpr int kFormatGroupPasses = 4;

std::size_t CharWidth(const std::string& s, std::size_t i) {
    return text::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Takes the paragraph codes "\P" off both ends, each as a whole: a code is only one where its
// backslash starts a character, never where it is the trail byte of a double-byte character.
std::string StripParagraphCodes(const std::string& s) {
    std::size_t begin = 0;
    while (s.compare(begin, 2, kParagraphCode) == 0) begin += 2;
    std::size_t trailingRun = text::npos;  // start of the codes that reach the end so far
    for (std::size_t i = begin; i < s.size();) {
        if (s.compare(i, 2, kParagraphCode) == 0) {
            if (trailingRun == text::npos) trailingRun = i;
            i += 2;
        } else {
            trailingRun = text::npos;
            i += CharWidth(s, i);
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
    for (std::size_t i = 0; i < s.size() && colons.size() < limit; i += CharWidth(s, i)) {
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

bool TdaAutocad::ReadDrawingInfo(AssNode& node) {
    const std::string templatePath = GetTemplatePath();
    std::string blockProperty;
    std::string separator;
    func_.ReadIniString(kInfoSection, kBlockPropertyKey, blockProperty, templatePath);
    func_.ReadIniString(kInfoSection, kSeparatorKey, separator, templatePath);

    host::Opened<host::BlockTableRecord> space = OpenModelSpace();
    if (!space) {
        node.properties.clear();
        return true;
    }
    if (blockProperty == kTextMode) {
        CollectTitleTexts(*space, separator, node);
    } else {
        CollectBlockAttributes(*space, templatePath, node);
    }
    return true;
}

void TdaAutocad::CollectTitleTexts(host::BlockTableRecord& space, const std::string& separator,
                                   AssNode& node) {
    std::vector<PropertyRecord> collected;
    host::Database* database = host::installed() ? host::current().workingDatabase() : nullptr;
    if (database == nullptr) {
        node.properties.clear();
        return;
    }
    const auto add = [&](const std::string& label, const std::string& value) {
        collected.push_back({LookupPropertyName(label), value, kReadType});
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
        if (className == kMTextClass) {
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
            add(left, right);
        } else if (className == kTextClass) {
            const auto* single = dynamic_cast<const host::Text*>(entity.get());
            if (single == nullptr || !text::Contains(single->textString(), separator)) continue;
            SplitAtSeparator(single->textString(), separator, left, right);
            add(left, right);
        }
    }
    node.properties = std::move(collected);
}

std::string TdaAutocad::LookupPropertyName(const std::string& label) {
    std::string name;
    func_.ReadIniString(kPropertyNamesSection, label, name, GetTemplatePath());
    return name.empty() ? label : name;
}

void TdaAutocad::SplitAtSeparator(const std::string& textValue, const std::string& separator,
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

void TdaAutocad::SplitColonText(const std::string& textValue, std::string& name,
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
        const std::size_t colon = text::Find(textValue, ':');
        if (colon == text::npos) {
            value = textValue;
            return;
        }
        name = textValue.substr(0, colon);
        value = textValue.substr(colon + 1);
    }
}

// Only the paragraph code "\P" as a whole is taken off the ends: a "P" that belongs to the text
// itself (PUMP) stays.
std::string TdaAutocad::StripTextFormatting(const std::string& textValue) {
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

std::string TdaAutocad::GetEntityClassName(host::ObjectId id) {
    host::Database* database = host::installed() ? host::current().workingDatabase() : nullptr;
    if (database == nullptr) return "";
    host::Opened<host::Entity> entity(
        host::openAs<host::Entity>(*database, id, host::OpenMode::ForRead));
    return entity ? entity->className() : std::string();
}

}  // namespace velmarin
