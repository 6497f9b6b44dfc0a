#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <optional>

#include "print/PrintTextRules.h"

namespace velmarin::print {
namespace {

struct WidthCase {
    std::size_t length;
    int fitLength;
    int widthMode;
    std::optional<double> expected;
};

class WidthFactorTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(WidthFactorTest, FollowsTheFirstRuleThatApplies) {
    const WidthCase& c = GetParam();
    const std::optional<double> factor = PrintTextWidthFactor(c.length, c.fitLength, c.widthMode);
    ASSERT_EQ(factor.has_value(), c.expected.has_value());
    if (factor) {
        EXPECT_DOUBLE_EQ(*factor, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WidthFactorTest,
    ::testing::Values(
        // By length (the check-field section), at and around each band edge.
        WidthCase{0, 0, kWidthByLength, 1.0}, WidthCase{4, 0, kWidthByLength, 1.0},
        WidthCase{5, 0, kWidthByLength, 0.4}, WidthCase{9, 0, kWidthByLength, 0.4},
        WidthCase{10, 0, kWidthByLength, 0.3}, WidthCase{19, 0, kWidthByLength, 0.3},
        WidthCase{20, 0, kWidthByLength, 0.2}, WidthCase{24, 0, kWidthByLength, 0.2},
        WidthCase{29, 0, kWidthByLength, 0.2}, WidthCase{30, 0, kWidthByLength, 0.1},
        WidthCase{1000000, 0, kWidthByLength, 0.1},
        // A fit length squeezes a longer text into 15 units, whatever the fit length is.
        WidthCase{20, 15, kWidthNone, 0.75}, WidthCase{10, 5, kWidthNone, 1.5},
        WidthCase{12, 20, kWidthNone, 1.0}, WidthCase{15, 15, kWidthNone, 1.0},
        // ... and overrides the section's rule.
        WidthCase{24, 30, kWidthByLength, 1.0}, WidthCase{20, 15, kWidthWorkflow, 0.75},
        WidthCase{4, 2, kWidthByLength, 3.75},
        // An empty text with a negative fit must not divide by its length.
        WidthCase{0, -1, kWidthNone, 1.0}, WidthCase{10, -5, kWidthNone, 1.5},
        // Workflow entries are never narrowed; other sections keep the host's default.
        WidthCase{40, 0, kWidthWorkflow, 1.0}, WidthCase{40, 0, kWidthNone, std::nullopt},
        WidthCase{40, 0, kWidthPrintFlow, std::nullopt}, WidthCase{40, 0, 7, std::nullopt}));

TEST(PrintTextHeightTest, MissingOrNegativeHeightsGiveTheDefault) {
    EXPECT_DOUBLE_EQ(PrintTextHeight(0), 3.0);
    EXPECT_DOUBLE_EQ(PrintTextHeight(-4), 3.0);
    EXPECT_DOUBLE_EQ(PrintTextHeight(INT_MIN), 3.0);
    EXPECT_DOUBLE_EQ(PrintTextHeight(5), 5.0);
    EXPECT_DOUBLE_EQ(PrintTextHeight(INT_MAX), static_cast<double>(INT_MAX));
}

}  // namespace
}  // namespace velmarin::print
