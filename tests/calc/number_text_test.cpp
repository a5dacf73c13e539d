#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <variant>

#include "tongqiu/calc_failure.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

constexpr auto kTwo = Pattern::TwoPlaces;
constexpr auto kSix = Pattern::SixPlaces;

constexpr auto kNoNumber = FailureKind::TypeMismatch;
constexpr auto kOverflow = FailureKind::Overflow;

// The double a field's text converts to (bit for bit, so -0 is not 0), or how the conversion
// failed.
using Converted = std::variant<std::uint64_t, FailureKind>;

std::uint64_t Bits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

Converted Convert(const std::string& text) {
    const auto value = FieldValue(text);
    if (!value) return value.error();
    return Bits(*value);
}

TEST(FieldValue, ReadsPlainAndInputMethodFormsAndRefusesTheRest) {
    const std::string huge = "1" + std::string(400, '0');
    // clang-format off
    const std::pair<std::string, std::variant<double, FailureKind>> cases[] = {
        {"12.5", 12.5}, {"  12.5\t\r\n", 12.5}, {".5", 0.5}, {"7.", 7.0}, {"-3", -3.0},
        {"+4", 4.0}, {"007", 7.0}, {"2.5E-2", 0.025}, {"-.5e+1", -5.0}, {"１２．５", 12.5},
        {"－３", -3.0}, {"＋４", 4.0}, {"3。5", 3.5}, {"\u3000 38\u3000", 38.0}, {"１ｅ２", 100.0},
        {"１Ｅ－２", 0.01}, {"0.1000000000000000055511151231257827", 0.1},
        {"123456789012345678901234567890", 1.2345678901234568e+29},
        {"1.7976931348623157e308", 1.7976931348623157e+308}, {"4e-320", 4e-320},
        {"1e-400", 0.0}, {"-1e-400", -0.0}, {"1e-99999999999999999999999", 0.0},
        {"1e309", kOverflow}, {"-1e309", kOverflow}, {"1.7976931348623159e308", kOverflow},
        {huge, kOverflow}, {std::string(400, '7'), kOverflow}, {"９ｅ９９９", kOverflow},
        {"0.0001e99999999999999999999", kOverflow},
        {"", kNoNumber}, {"   ", kNoNumber}, {"\u3000", kNoNumber}, {"abc", kNoNumber},
        {"1,000", kNoNumber}, {"1\u00A0000", kNoNumber}, {"¥5", kNoNumber},
        {"0x10", kNoNumber}, {"inf", kNoNumber}, {"nan", kNoNumber}, {"１ ２", kNoNumber},
        {"+", kNoNumber}, {".", kNoNumber}, {"-.e1", kNoNumber}, {"1e", kNoNumber},
        {"1e+", kNoNumber}, {"e5", kNoNumber}, {"1.2.3", kNoNumber}, {"--1", kNoNumber},
        {"+-1", kNoNumber}, {"1-", kNoNumber}, {"1e5.5", kNoNumber}, {"\u22123", kNoNumber},
        {std::string("1\0", 2), kNoNumber}, {"\xEF\xBC", kNoNumber}, {"\xFF", kNoNumber},
        {"１，０", kNoNumber}, {huge + "x", kNoNumber}, {"38一", kNoNumber},
        {"38ぁ", kNoNumber}, {"1丅2", kNoNumber}, {"1ｆ2", kNoNumber}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        const auto* value = std::get_if<double>(&expected);
        const Converted bits =
            value ? Converted(Bits(*value)) : Converted(std::get<FailureKind>(expected));
        EXPECT_EQ(Convert(text), bits) << text;
    }
}

TEST(FormatFixed, RoundsHalfAwayFromZeroAsByHand) {
    // clang-format off
    const std::tuple<double, Pattern, std::string> cases[] = {
        {0, kTwo, "0.00"}, {25, kTwo, "25.00"}, {3.14159, kTwo, "3.14"}, {0.8, kTwo, "0.80"},
        {123.5, kTwo, "123.50"}, {-1.5, kTwo, "-1.50"}, {1.75, kSix, "1.750000"},
        {69.999995 / 50, kSix, "1.400000"}, {1e-300, kTwo, "0.00"}, {16.125, kTwo, "16.13"},
        {-16.125, kTwo, "-16.13"}, {0.005, kTwo, "0.01"},
        {30.10 * 0.65, kTwo, "19.57"},  // the double lies just below 19.565
        {0.0049999, kTwo, "0.00"}, {99.995, kTwo, "100.00"}, {0.0000005, kSix, "0.000001"},
        {9.9999995, kSix, "10.000000"}, {-0.004, kTwo, "0.00"}, {-0.0, kSix, "0.000000"},
        {1e15, kTwo, "1000000000000000.00"}, {1234567890123456789.0, kTwo, "1234567890123460000.00"},
        // The largest doubles would round up past the largest double; they stay just below it.
        {std::numeric_limits<double>::max(), kTwo, "179769313486231" + std::string(294, '0') + ".00"}};
    // clang-format on
    for (const auto& [value, pattern, text] : cases) EXPECT_EQ(FormatFixed(value, pattern), text);
}

}  // namespace
}  // namespace tongqiu
