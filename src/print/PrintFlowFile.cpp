#include "print/PrintFlowFile.h"

#include <cmath>

#include "util/Lines.h"
#include "util/Text.h"

namespace velmarin::print {
namespace {

// The text after the first comma, or the whole text when it has none.
std::string DropFirstField(const std::string& value) {
    const std::size_t comma = text::Find(value, ',');
    return comma == text::npos ? value : value.substr(comma + 1);
}

// A coordinate that overflowed or was given as inf or nan would put the text nowhere; it takes
// the corner's coordinate instead, as a missing number does.
double FiniteOr(double value, double fallback) {
    if (std::isfinite(value)) return value;
    return std::isfinite(fallback) ? fallback : 0.0;
}

// The number before the first comma of `text` (the longest leading decimal number), and the text
// after that comma. Without a comma there is no number: the value is 0 and `rest` is empty.
bool SplitLeadingNumber(const std::string& text, double& number, std::string& rest) {
    const std::size_t comma = text::Find(text, ',');
    if (comma == text::npos) {
        number = 0.0;
        rest.clear();
        return false;
    }
    number = text::LeadingDecimal(text.substr(0, comma));
    rest = text.substr(comma + 1);
    return true;
}

}  // namespace

void ParsePlanePoint(const std::string& value, host::Point3& result, const host::Point3& base) {
    double x = 0.0;
    double y = 0.0;
    std::string rest;
    if (SplitLeadingNumber(value, x, rest)) {
        std::string ignored;
        SplitLeadingNumber(rest, y, ignored);
    }
    // The offset runs leftwards from the base in x and upwards in y.
    result.x = base.x - x;
    result.y = base.y + y;
    result.z = base.z;
}

int ParseLeadingInt(const std::string& value) {
    const std::size_t comma = text::Find(value, ',');
    if (comma == text::npos) return 0;
    return text::LeadingInt(value.substr(0, comma));
}

void CommasToSpaces(std::string& value, int flag) {
    if (flag != 1) return;
    for (std::size_t i = 0; i < value.size(); i += text::CharWidth(value, i)) {
        if (value[i] == ',') value[i] = ' ';
    }
}

int SectionCodeOf(const std::string& line) {
    if (line == texts::kPrintWorkflowHeader) return 1;
    if (line == texts::kPrintFlowHeader) return 2;
    if (line == texts::kPrintCheckFieldHeader) return 3;
    return -1;
}

PrintFlowEntry ParsePrintFlowEntry(const std::string& line, const host::Point3& corner,
                                   int sectionCode) {
    const std::size_t equals = text::Find(line, '=');
    std::string value = equals == text::npos ? line : line.substr(equals + 1);

    PrintFlowEntry entry;
    ParsePlanePoint(value, entry.position, corner);
    entry.position.x = FiniteOr(entry.position.x, corner.x);
    entry.position.y = FiniteOr(entry.position.y, corner.y);
    entry.position.z = FiniteOr(entry.position.z, corner.z);

    value = DropFirstField(DropFirstField(value));
    entry.height = ParseLeadingInt(value);
    value = DropFirstField(value);
    entry.fitLength = ParseLeadingInt(value);
    entry.text = DropFirstField(value);
    CommasToSpaces(entry.text, sectionCode);
    entry.widthMode = sectionCode;
    return entry;
}

std::vector<PrintFlowEntry> ParsePrintFlowFile(const std::string& contents,
                                               const host::Point3& corner) {
    std::vector<PrintFlowEntry> entries;
    int sectionCode = 0;
    text::ForEachLine(contents, [&](std::string_view view) {
        const std::string line(view);
        const int header = SectionCodeOf(line);
        if (header >= 0) {
            sectionCode = header;
        } else {
            entries.push_back(ParsePrintFlowEntry(line, corner, sectionCode));
        }
    });
    return entries;
}

}  // namespace velmarin::print
