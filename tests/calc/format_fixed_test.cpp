#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

constexpr auto kTwo = Pattern::TwoPlaces;
constexpr auto kSix = Pattern::SixPlaces;

TEST(FormatFixed, RoundsHalfAwayFromZeroAsByHand) {
    // clang-format off
    const std::tuple<double, Pattern, std::string> cases[] = {
        {0, kTwo, "0.00"}, {25, kTwo, "25.00"}, {3.14159, kTwo, "3.14"}, {0.8, kTwo, "0.80"},
        {123.5, kTwo, "123.50"}, {-1.5, kTwo, "-1.50"}, {1.75, kSix, "1.750000"},
        {1.4, kSix, "1.400000"}, {69.999995 / 50, kSix, "1.400000"}, {1e-300, kTwo, "0.00"},
        {16.125, kTwo, "16.13"}, {-16.125, kTwo, "-16.13"}, {0.005, kTwo, "0.01"},
        {30.10 * 0.65, kTwo, "19.57"},  // the double lies just below 19.565
        {0.0049999, kTwo, "0.00"}, {99.995, kTwo, "100.00"}, {0.0000005, kSix, "0.000001"},
        {9.9999995, kSix, "10.000000"}, {-0.004, kTwo, "0.00"}, {-0.0, kSix, "0.000000"},
        {1e15, kTwo, "1000000000000000.00"}, {1234567890123456789.0, kTwo, "1234567890123460000.00"},
        {-2.5e20, kSix, "-250000000000000000000.000000"},
        // The largest doubles would round up past the largest double; they stay just below it.
        {std::numeric_limits<double>::max(), kTwo, "179769313486231" + std::string(294, '0') + ".00"}};
    // clang-format on
    for (const auto& [value, pattern, text] : cases) {
        EXPECT_EQ(FormatFixed(value, pattern), text) << value;
    }
}

// Whatever the value, the text converts back to the value it shows (the nearest double, as the
// C library reads it), and that value is written as the same text.
TEST(FormatFixed, TextConvertsBackToTheValueItShows) {
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> everyday(-1000.0, 1000.0);
    for (int i = 0; i < 100000; ++i) {
        const double value = i % 2 == 0 ? everyday(random) : std::bit_cast<double>(random());
        if (!std::isfinite(value)) continue;
        for (const Pattern pattern : {kTwo, kSix}) {
            const std::string text = FormatFixed(value, pattern);
            const std::size_t places = pattern == kSix ? 6 : 2;
            ASSERT_EQ(text.find_first_not_of("-0123456789"), text.size() - places - 1) << text;
            ASSERT_EQ(text.find_first_not_of("0123456789", text.size() - places),
                      std::string::npos);
            const double shown = FieldValue(text);
            ASSERT_EQ(shown, std::strtod(text.c_str(), nullptr)) << text;
            ASSERT_EQ(FormatFixed(shown, pattern), text) << value;
        }
    }
}

}  // namespace
}  // namespace tongqiu
