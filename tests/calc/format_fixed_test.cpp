#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

struct Case {
    double value;
    Pattern pattern;
    std::string text;
};

TEST(FormatFixed, WritesEveryValueToThePatternsPlaces) {
    constexpr auto two = Pattern::TwoPlaces;
    constexpr auto six = Pattern::SixPlaces;
    const Case cases[] = {
        {0.0, two, "0.00"},           {25.0, two, "25.00"},
        {3.14159, two, "3.14"},       {0.8, two, "0.80"},
        {123.5, two, "123.50"},       {-1.5, two, "-1.50"},
        {0.75, two, "0.75"},          {1.75, six, "1.750000"},
        {1.4, six, "1.400000"},       {69.999995 / 50.0, six, "1.400000"},
        {0.0000004, six, "0.000000"}, {1e-300, two, "0.00"},
    };
    for (const auto& [value, pattern, text] : cases) {
        EXPECT_EQ(FormatFixed(value, pattern), text) << value;
    }
}

TEST(FormatFixed, RoundsHalfwayAwayFromZeroAsByHand) {
    const Case cases[] = {
        {16.125, Pattern::TwoPlaces, "16.13"},
        {-16.125, Pattern::TwoPlaces, "-16.13"},
        {30.10 * 0.65, Pattern::TwoPlaces, "19.57"},  // the double lies just below 19.565
        {0.005, Pattern::TwoPlaces, "0.01"},
        {0.0049999, Pattern::TwoPlaces, "0.00"},
        {99.995, Pattern::TwoPlaces, "100.00"},
        {0.0000005, Pattern::SixPlaces, "0.000001"},
        {9.9999995, Pattern::SixPlaces, "10.000000"},
        {-0.004, Pattern::TwoPlaces, "0.00"},  // no "-0.00"
        {-0.0, Pattern::SixPlaces, "0.000000"},
    };
    for (const auto& [value, pattern, text] : cases) {
        EXPECT_EQ(FormatFixed(value, pattern), text) << value;
    }
}

TEST(FormatFixed, WritesLargeValuesInFullWithFifteenSignificantDigits) {
    EXPECT_EQ(FormatFixed(1e15, Pattern::TwoPlaces), "1000000000000000.00");
    EXPECT_EQ(FormatFixed(1234567890123456789.0, Pattern::TwoPlaces), "1234567890123460000.00");
    EXPECT_EQ(FormatFixed(-2.5e20, Pattern::SixPlaces), "-250000000000000000000.000000");
    // The largest doubles would round up past the largest double; they stay just below it.
    const std::string largest = FormatFixed(std::numeric_limits<double>::max(), Pattern::TwoPlaces);
    EXPECT_EQ(largest, "179769313486231" + std::string(294, '0') + ".00");
    EXPECT_LT(FieldValue(largest), std::numeric_limits<double>::max());
}

// Whatever the value, the text converts back to the value it shows (the nearest double to it,
// as the C library reads it), and that value is written as the same text.
TEST(FormatFixed, TextConvertsBackToTheValueItShows) {
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> everyday(-1000.0, 1000.0);
    const auto hasShape = [](const std::string& text, std::size_t places) {  // -?\d+\.\d{places}
        const std::size_t point = text.size() - places - 1;
        const std::size_t first = text.starts_with('-') ? 1 : 0;
        const auto digits = [&](std::size_t from, std::size_t to) {
            return from < to && text.find_first_not_of("0123456789", from) >= to;
        };
        return text.size() > places + 1 && text[point] == '.' && digits(first, point) &&
               digits(point + 1, text.size());
    };
    for (int i = 0; i < 100000; ++i) {
        double value = std::bit_cast<double>(random());
        if (i % 2 == 0) value = everyday(random);
        if (!std::isfinite(value)) continue;
        for (const Pattern pattern : {Pattern::TwoPlaces, Pattern::SixPlaces}) {
            const std::string text = FormatFixed(value, pattern);
            ASSERT_TRUE(hasShape(text, pattern == Pattern::SixPlaces ? 6 : 2)) << text;
            const double shown = FieldValue(text);
            ASSERT_EQ(shown, std::strtod(text.c_str(), nullptr)) << text;
            ASSERT_EQ(FormatFixed(shown, pattern), text) << value;
        }
    }
}

}  // namespace
}  // namespace tongqiu
