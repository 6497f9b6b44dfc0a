#pragma once
// Title-block properties by plain texts: every single-line or multiline text of model space that
// holds the template's separator is split into a label and a value; [PtyNames] of the template
// turns the label into the property name.

#include <string>
#include <vector>

#include "drawing/TitleProperties.h"
#include "host/Host.h"

namespace velmarin {

class TitleTextReader {
  public:
    TitleTextReader(std::string templatePath, std::string separator,
                    TitleReadObserver* observer = nullptr)
        : templatePath_(std::move(templatePath)),
          separator_(std::move(separator)),
          observer_(observer) {}

    std::vector<PropertyRecord> Collect(host::BlockTableRecord& space) const;
    // [PtyNames] <label> of the template, or the label itself when it names none.
    std::string LookupPropertyName(const std::string& label) const;

    // `text` split at the first `separator`: left and right of it, or all of it and "".
    static void SplitAtSeparator(const std::string& text, const std::string& separator,
                                 std::string& left, std::string& right);
    // A text split at its colon (":" or "："): one colon gives name and value, two only a scale
    // (比例:1:5); otherwise both stay empty.
    static void SplitColonText(const std::string& text, std::string& name, std::string& value);
    // Blanks and paragraph codes off both ends, then up to four format groups unwrapped.
    static std::string StripTextFormatting(const std::string& text);

  private:
    std::string templatePath_;
    std::string separator_;
    TitleReadObserver* observer_;
};

}  // namespace velmarin
