#pragma once
// The print flow file: lines of "key=dx,dy,height,fit,text" under three section headers. Each
// entry becomes one text placed relative to the frame corner.

#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "util/FixedTexts.h"

namespace velmarin::print {

using texts::kPrintFlowSuffix;

// The width mode a header line starts, or -1 when the line is an entry. Only the exact lines
// count: other capitals or blanks around make an entry of the line.
int SectionCodeOf(const std::string& line);

struct PrintFlowEntry {
    std::string text;
    host::Point3 position;
    int height = 0;
    int fitLength = 0;
    int widthMode = 0;  // the code of the section the entry stands in
};

// One entry line under the section `sectionCode`, placed relative to `corner`. Missing numbers
// count as 0; an offset that is not a finite number leaves the text at the corner.
PrintFlowEntry ParsePrintFlowEntry(const std::string& line, const host::Point3& corner,
                                   int sectionCode);

// Every entry of a print flow file's contents, in file order.
std::vector<PrintFlowEntry> ParsePrintFlowFile(const std::string& contents,
                                               const host::Point3& corner);

// "dx,dy,...": the point dx to the left of and dy above `base`. Each number is the longest
// leading decimal number before its comma; without a comma it is 0.
void ParsePlanePoint(const std::string& text, host::Point3& result, const host::Point3& base);
// The integer before the first comma (atoi rules), 0 without a comma.
int ParseLeadingInt(const std::string& text);
// With flag 1, every comma that is a character of its own becomes a blank.
void CommasToSpaces(std::string& text, int flag);

}  // namespace velmarin::print
