#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>

#include "tongqiu/calc_failure.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

FailureKind FailureOf(const std::string& text) {
    try {
        const double value = FieldValue(text);
        ADD_FAILURE() << '"' << text << "\" was accepted as " << value;
    } catch (const CalcFailure& failure) {
        EXPECT_FALSE(failure.field.has_value());
        return failure.kind;
    }
    return FailureKind::InvalidDimensions;  // never a conversion's failure
}

struct Accepted {
    std::string text;
    double value;
};

TEST(FieldValue, AcceptsPlainAndInputMethodForms) {
    const Accepted cases[] = {
        {"12.5", 12.5},
        {"  12.5  ", 12.5},
        {"\t12.5\r\n", 12.5},
        {".5", 0.5},
        {"7.", 7.0},
        {"-3", -3.0},
        {"+4", 4.0},
        {"007", 7.0},
        {"1e3", 1000.0},
        {"2.5E-2", 0.025},
        {"-.5e+1", -5.0},
        {"\uFF11\uFF12\uFF0E\uFF15", 12.5},  // １２．５
        {"\uFF0D\uFF13", -3.0},              // －３
        {"\uFF0B\uFF14", 4.0},               // ＋４
        {"3\u30025", 3.5},                   // 3。5
        {"\u3000\u300038\u3000", 38.0},      // ideographic spaces around
        {"\uFF11\uFF45\uFF12", 100.0},       // １ｅ２
        {"\uFF11\uFF25\uFF0D\uFF12", 0.01},  // １Ｅ－２
        {"0.1000000000000000055511151231257827", 0.1},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"4e-320", 4e-320},  // subnormal
        {"1e-400", 0.0},
        {"1e-99999999999999999999999", 0.0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(FieldValue(text), value) << '"' << text << '"';
    }
}

TEST(FieldValue, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(FieldValue("-0")));
    EXPECT_TRUE(std::signbit(FieldValue("-1e-400")));
    EXPECT_FALSE(std::signbit(FieldValue("0.00")));
}

TEST(FieldValue, RefusesWhatIsNoNumber) {
    const std::string cases[] = {
        "",
        "   ",
        "\u3000",
        "abc",
        "1,000",
        "1\u00A0000",
        "$5",
        "\u00A55",
        "0x10",
        "inf",
        "-inf",
        "nan",
        "1 2",
        "\uFF11 \uFF12",
        "+",
        "-",
        ".",
        "+.",
        "-.e1",
        "1e",
        "1e+",
        "e5",
        "1.2.3",
        "--1",
        "+-1",
        "1-",
        "1e5.5",
        "5%",
        "\u22123",  // a typographic minus sign
        std::string("1\0", 2),
        "\xEF\xBC",
        "\xFF",
        "\uFF11\uFF0C\uFF10",  // １，０
    };
    for (const auto& text : cases) {
        EXPECT_EQ(FailureOf(text), FailureKind::TypeMismatch) << '"' << text << '"';
    }
}

TEST(FieldValue, RefusesMagnitudesBeyondADouble) {
    const std::string cases[] = {
        "1e309",
        "-1e309",
        "1.7976931348623159e308",
        "1" + std::string(400, '0'),
        "0.0001e99999999999999999999",
        "\uFF19\uFF45\uFF19\uFF19\uFF19",
    };
    for (const auto& text : cases) {
        EXPECT_EQ(FailureOf(text), FailureKind::Overflow) << '"' << text << '"';
    }
}

TEST(FieldValue, ConvertsAMegabyteOfPastedTextPromptly) {
    const std::string megabyte(1 << 20, '7');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf(megabyte), FailureKind::Overflow);
    EXPECT_EQ(FailureOf(megabyte + "x"), FailureKind::TypeMismatch);
    EXPECT_EQ(FailureOf(std::string(1 << 20, 'a')), FailureKind::TypeMismatch);
    EXPECT_NEAR(FieldValue("0." + megabyte), 7.0 / 9.0, 1e-15);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tongqiu
