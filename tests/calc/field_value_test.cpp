#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>

#include "tongqiu/calc_failure.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

std::optional<FailureKind> FailureOf(const std::string& text) {
    try {
        FieldValue(text);
    } catch (const CalcFailure& failure) {
        return failure.kind;
    }
    return std::nullopt;
}

TEST(FieldValue, AcceptsPlainAndInputMethodForms) {
    // clang-format off
    const std::pair<std::string, double> cases[] = {
        {"12.5", 12.5}, {"  12.5\t\r\n", 12.5}, {".5", 0.5}, {"7.", 7}, {"-3", -3}, {"+4", 4},
        {"007", 7}, {"1e3", 1000}, {"2.5E-2", 0.025}, {"-.5e+1", -5}, {"１２．５", 12.5},
        {"－３", -3}, {"＋４", 4}, {"3。5", 3.5}, {"\u3000 38\u3000", 38}, {"１ｅ２", 100},
        {"１Ｅ－２", 0.01}, {"0.1000000000000000055511151231257827", 0.1},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"4e-320", 4e-320}, {"1e-400", 0}, {"1e-99999999999999999999999", 0}};
    // clang-format on
    for (const auto& [text, value] : cases) EXPECT_EQ(FieldValue(text), value) << text;
    EXPECT_TRUE(std::signbit(FieldValue("-1e-400")));
}

TEST(FieldValue, RefusesWhatIsNoNumber) {
    const std::string cases[] = {"",           "   ",   "\u3000", "abc",     "1,000",
                                 "1\u00A0000", "$5",    "¥5",     "0x10",    "inf",
                                 "-inf",       "nan",   "1 2",    "１ ２",   "+",
                                 "-",          ".",     "+.",     "-.e1",    "1e",
                                 "1e+",        "e5",    "1.2.3",  "--1",     "+-1",
                                 "1-",         "1e5.5", "5%",     "\u22123", std::string("1\0", 2),
                                 "\xEF\xBC",   "\xFF",  "１，０"};
    for (const auto& text : cases) EXPECT_EQ(FailureOf(text), FailureKind::TypeMismatch) << text;
}

TEST(FieldValue, RefusesMagnitudesBeyondADouble) {
    const std::string cases[] = {"1e309",
                                 "-1e309",
                                 "1.7976931348623159e308",
                                 "1" + std::string(400, '0'),
                                 "0.0001e99999999999999999999",
                                 "９ｅ９９９"};
    for (const auto& text : cases) EXPECT_EQ(FailureOf(text), FailureKind::Overflow) << text;
}

TEST(FieldValue, ConvertsAMegabyteOfPastedTextPromptly) {
    const std::string megabyte(1 << 20, '7');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf(megabyte), FailureKind::Overflow);
    EXPECT_EQ(FailureOf(megabyte + "x"), FailureKind::TypeMismatch);
    EXPECT_NEAR(FieldValue("0." + megabyte), 7.0 / 9.0, 1e-15);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tongqiu
