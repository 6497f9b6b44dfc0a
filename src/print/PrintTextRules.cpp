#include "print/PrintTextRules.h"

namespace velmarin::print {

double PrintTextHeight(int height) {
    // A negative height would mirror the text or make it vanish; it counts as none given.
    return height > 0 ? static_cast<double>(height) : kDefaultTextHeight;
}

std::optional<double> PrintTextWidthFactor(std::size_t length, int fitLength, int widthMode) {
    if (fitLength != 0) {
        // The numerator is 15 whatever the fit length is. An empty text has nothing to squeeze,
        // and dividing by its length would give an infinite factor (a negative fit is below 0).
        if (length > 0 && static_cast<long long>(fitLength) < static_cast<long long>(length)) {
            return 15.0 / static_cast<double>(length);
        }
        return 1.0;
    }
    if (widthMode == kWidthWorkflow) return 1.0;
    if (widthMode == kWidthByLength) {
        if (length >= 30) return 0.1;
        if (length >= 20) return 0.2;
        if (length >= 10) return 0.3;
        if (length >= 5) return 0.4;
        return 1.0;
    }
    return std::nullopt;
}

}  // namespace velmarin::print
