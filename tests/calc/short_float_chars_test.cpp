// The quick conversions against the C library's exact ones (Linux's or the page's), on the
// numbers tables hold and on random doubles: where the quick way answers, it answers the same.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "short_float_chars.h"

namespace tongqiu {
namespace {

std::string Written(double value, int precision) {
    char text[64];
    char* end = nullptr;
    if (!WriteShort(text, text + sizeof text, value, precision, end)) return "(not sure)";
    return {text, end};
}

std::string Printed(double value, int precision) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", precision, value);
    return text;
}

// A decimal of 1 to 15 random digits with a point somewhere, and sometimes an exponent.
std::string RandomDecimal(std::mt19937_64& random) {
    const auto digits = std::uniform_int_distribution<int>(1, 15)(random);
    const auto point = static_cast<int>(random() % static_cast<unsigned>(digits + 1));
    std::string text;
    for (int i = 0; i <= digits; ++i) {
        if (i == point) text.push_back('.');
        if (i < digits) text.push_back(static_cast<char>('0' + random() % 10));
    }
    if (random() % 4 == 0) {
        text.push_back('e');
        text.append(std::to_string(static_cast<int>(random() % 31) - 15));
    }
    return text;
}

TEST(ShortFloatChars, ReadsAsStrtodDoes) {
    std::setlocale(LC_NUMERIC, "C");
    // Each read quickly or left to strtod, and the quick answer strtod's bit for bit.
    const std::pair<const char*, bool> cases[] = {
        {"38", true},
        {"38.5", true},
        {"0.85", true},
        {".5", true},
        {"5.", true},
        {"000.00120", true},
        {"0", true},
        {"0e99", true},
        {"1e22", true},
        {"1e23", false},
        {"123456789012345", true},
        {"1234567890123456", false},
        {"1.5e-21", true},
        {"1.5e-22", false},
        {"9007199254740993", false},
        {"12E+3", true},
        {"7e-0", true},
        {"1e400", false},
        {"0.000000000000000000000001", false},
    };
    for (const auto& [text, quick] : cases) {
        const std::string number(text);
        double value = -1;
        EXPECT_EQ(ReadShort(number.data(), number.data() + number.size(), value), quick) << text;
        if (quick) {
            EXPECT_EQ(value, std::strtod(text, nullptr)) << text;
        }
    }
    std::mt19937_64 random(20261209);
    int quick = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::string text = RandomDecimal(random);
        double value = -1;
        if (!ReadShort(text.data(), text.data() + text.size(), value)) continue;
        ++quick;
        ASSERT_EQ(value, std::strtod(text.c_str(), nullptr)) << text;
    }
    EXPECT_GT(quick, 190000);
}

TEST(ShortFloatChars, WritesAsPrintfDoes) {
    std::setlocale(LC_NUMERIC, "C");
    // Ties are the C library's to round to even; 9.99… rounds up to the next power of ten.
    const struct {
        double value;
        int precision;
        const char* text;
    } cases[] = {
        {38.5, 14, "3.85000000000000e+01"},
        {0.85, 14, "8.50000000000000e-01"},
        {0.85, 20, "(not sure)"},
        {0.125, 1, "(not sure)"},
        {2.5, 0, "(not sure)"},
        {0.375, 1, "(not sure)"},
        {9.9999, 2, "1.00e+01"},
        {99.96, 2, "1.00e+02"},
        {1.0, 0, "1e+00"},
        {123456789.0, 8, "1.23456789e+08"},
        {123456789.0, 3, "(not sure)"},
        {1e-9, 2, "1.00e-09"},
        {0.0, 3, "(not sure)"},
        {-2.0, 3, "(not sure)"},
        {1e300, 3, "(not sure)"},
        {INFINITY, 3, "(not sure)"},
    };
    for (const auto& [value, precision, text] : cases) {
        EXPECT_EQ(Written(value, precision), text) << value << " to " << precision;
    }
    char small[8];
    char* end = nullptr;
    EXPECT_FALSE(WriteShort(small, small + sizeof small, 38.5, 14, end));

    // Random doubles of every order a table has, and decimals read back, mostly at the precision
    // the program uses (14), else at any.
    std::mt19937_64 random(9122026);
    int quick = 0;
    const int count = 200000;
    for (int i = 0; i < count; ++i) {
        const double value = i % 2 == 0
                                 ? std::ldexp(std::uniform_real_distribution<double>(1, 2)(random),
                                              static_cast<int>(random() % 76) - 26)
                                 : std::strtod(RandomDecimal(random).c_str(), nullptr);
        const int precision = i % 4 == 0 ? static_cast<int>(random() % 15) : 14;
        const std::string written = Written(value, precision);
        if (written == "(not sure)") continue;
        ++quick;
        ASSERT_EQ(written, Printed(value, precision)) << value << " to " << precision;
    }
    EXPECT_GT(quick, count * 3 / 4);
}

}  // namespace
}  // namespace tongqiu
