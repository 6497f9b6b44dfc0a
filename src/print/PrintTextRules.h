#pragma once
// The size rules of a print-information text: its height and its width factor, from the entry's
// height and fit length and the width mode of the section the entry stands in.

#include <cstddef>
#include <optional>

namespace velmarin::print {

// Width modes: the section codes of the print flow file.
enum WidthMode : int {
    kWidthNone = 0,       // before any header, and "[PrintFlow]"
    kWidthWorkflow = 1,   // "[workflow]": always 1.0
    kWidthPrintFlow = 2,  // "[PrintFlow]"
    kWidthByLength = 3,   // "[CheckField]": narrower the longer the text
};

inline constexpr double kDefaultTextHeight = 3.0;

// The height of the text: the entry's height, 3.0 when it gives none.
double PrintTextHeight(int height);

// The width factor of a text of `length` bytes, or nothing when the text keeps the host's default.
// A fit length squeezes a text longer than it into a fixed 15 units.
std::optional<double> PrintTextWidthFactor(std::size_t length, int fitLength, int widthMode);

}  // namespace velmarin::print
