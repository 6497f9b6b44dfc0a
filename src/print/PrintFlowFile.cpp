#include "print/PrintFlowFile.h"

#include <cmath>

#include "util/TdaFunc.h"
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

}  // namespace

int SectionCodeOf(const std::string& line) {
    if (line == "[workflow]") return 1;
    if (line == "[PrintFlow]") return 2;
    if (line == "[CheckField]") return 3;
    return -1;
}

PrintFlowEntry ParsePrintFlowEntry(const TdaFunc& func, const std::string& line,
                                   const host::Point3& corner, int sectionCode) {
    const std::size_t equals = text::Find(line, '=');
    std::string value = equals == text::npos ? line : line.substr(equals + 1);

    PrintFlowEntry entry;
    func.ParsePlanePoint(value, entry.position, corner);
    entry.position.x = FiniteOr(entry.position.x, corner.x);
    entry.position.y = FiniteOr(entry.position.y, corner.y);
    entry.position.z = FiniteOr(entry.position.z, corner.z);

    value = DropFirstField(DropFirstField(value));
    entry.height = func.ParseLeadingInt(value);
    value = DropFirstField(value);
    entry.fitLength = func.ParseLeadingInt(value);
    entry.text = DropFirstField(value);
    func.CommasToSpaces(entry.text, sectionCode);
    return entry;
}

bool LineReader::next(std::string& line) {
    if (at_ >= contents_.size()) return false;
    std::size_t end = contents_.find('\n', at_);
    const std::size_t next = end == std::string::npos ? contents_.size() : end + 1;
    if (end == std::string::npos) {
        end = contents_.size();
    } else if (end > at_ && contents_[end - 1] == '\r') {
        --end;
    }
    line.assign(contents_, at_, end - at_);
    at_ = next;
    return true;
}

}  // namespace velmarin::print
