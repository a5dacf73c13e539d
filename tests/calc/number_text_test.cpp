#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "tongqiu/calc_failure.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

constexpr auto kTwo = Pattern::TwoPlaces;
constexpr auto kSix = Pattern::SixPlaces;

// The shortest text of the value a field's text converts to, or how the conversion failed.
std::string Converted(const std::string& text) {
    try {
        const double value = FieldValue(text);
        char shortest[32];
        const auto end = std::to_chars(shortest, shortest + sizeof shortest, value).ptr;
        return {shortest, end};
    } catch (const CalcFailure& failure) {
        return failure.kind == FailureKind::Overflow ? "overflow" : "no number";
    }
}

TEST(FieldValue, ReadsPlainAndInputMethodFormsAndRefusesTheRest) {
    const std::string huge = "1" + std::string(400, '0');
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"12.5", "12.5"}, {"  12.5\t\r\n", "12.5"}, {".5", "0.5"}, {"7.", "7"}, {"-3", "-3"},
        {"+4", "4"}, {"007", "7"}, {"2.5E-2", "0.025"}, {"-.5e+1", "-5"}, {"１２．５", "12.5"},
        {"－３", "-3"}, {"＋４", "4"}, {"3。5", "3.5"}, {"\u3000 38\u3000", "38"}, {"１ｅ２", "100"},
        {"１Ｅ－２", "0.01"}, {"0.1000000000000000055511151231257827", "0.1"},
        {"123456789012345678901234567890", "1.2345678901234568e+29"},
        {"1.7976931348623157e308", "1.7976931348623157e+308"}, {"4e-320", "4e-320"},
        {"1e-400", "0"}, {"-1e-400", "-0"}, {"1e-99999999999999999999999", "0"},
        {"1e309", "overflow"}, {"-1e309", "overflow"}, {"1.7976931348623159e308", "overflow"},
        {huge, "overflow"}, {std::string(400, '7'), "overflow"}, {"９ｅ９９９", "overflow"},
        {"0.0001e99999999999999999999", "overflow"},
        {"", "no number"}, {"   ", "no number"}, {"\u3000", "no number"}, {"abc", "no number"},
        {"1,000", "no number"}, {"1\u00A0000", "no number"}, {"¥5", "no number"},
        {"0x10", "no number"}, {"inf", "no number"}, {"nan", "no number"}, {"１ ２", "no number"},
        {"+", "no number"}, {".", "no number"}, {"-.e1", "no number"}, {"1e", "no number"},
        {"1e+", "no number"}, {"e5", "no number"}, {"1.2.3", "no number"}, {"--1", "no number"},
        {"+-1", "no number"}, {"1-", "no number"}, {"1e5.5", "no number"}, {"\u22123", "no number"},
        {std::string("1\0", 2), "no number"}, {"\xEF\xBC", "no number"}, {"\xFF", "no number"},
        {"１，０", "no number"}, {huge + "x", "no number"}, {"38一", "no number"},
        {"38ぁ", "no number"}, {"1丅2", "no number"}, {"1ｆ2", "no number"}};
    // clang-format on
    for (const auto& [text, converted] : cases) EXPECT_EQ(Converted(text), converted) << text;
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
