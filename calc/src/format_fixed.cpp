#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>

#include "tongqiu/float_chars.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

constexpr int kSignificantDigits = 15;

// The largest 15-digit decimal that still converts to a finite double. The doubles just below the
// largest one would round up past it and show a number that no longer converts back.
constexpr std::string_view kLargestDigits = "179769313486231";
constexpr int kLargestExponent = 308;

// Adds one unit in the last place of a string of decimal digits that starts with a '0'.
void Increment(std::string& digits) {
    auto it = digits.rbegin();
    for (; *it == '9'; ++it) *it = '0';
    ++*it;
}

}  // namespace

std::string FormatFixed(double value, Pattern pattern) {
    return FormatPlaces(value, pattern == Pattern::TwoPlaces ? 2 : 6);
}

std::string FormatPlaces(double value, int places) {
    // No calculation gives a value that is not finite, and a workbook's reader checks its
    // numbers; should one come all the same, it has no fixed-point text.
    if (!std::isfinite(value)) return {};

    // The magnitude as d.dddddddddddddde[+-]x: 15 significant digits and a decimal exponent.
    char scientific[32];
    const auto written = WriteScientific(scientific, scientific + sizeof scientific,
                                         std::fabs(value), kSignificantDigits - 1);
    std::string digits(1, scientific[0]);
    digits.append(scientific + 2, scientific + 1 + kSignificantDigits);
    const char* exponentText = scientific + 2 + kSignificantDigits;
    if (*exponentText == '+') ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, written.ptr, exponent);
    if (exponent == kLargestExponent && digits > kLargestDigits) digits = kLargestDigits;

    // The value in units of the last place shown, rounded half away from zero. The leading zeros
    // make room for a carry and for the "0" before the point of a value below 1.
    const int kept = exponent + 1 + places;  // digits at or above the last place shown
    const std::size_t minimum = static_cast<std::size_t>(places) + 1;
    std::string units(minimum + 1, '0');
    if (kept > 0) {
        units.append(digits, 0, static_cast<std::size_t>(std::min(kept, kSignificantDigits)));
        units.append(static_cast<std::size_t>(std::max(kept - kSignificantDigits, 0)), '0');
    }
    if (kept >= 0 && kept < kSignificantDigits && digits[static_cast<std::size_t>(kept)] >= '5') {
        Increment(units);
    }
    const std::size_t first = std::min(units.find_first_not_of('0'), units.size() - minimum);
    const std::size_t point = units.size() - static_cast<std::size_t>(places);

    std::string text;
    text.reserve(units.size() + 2);
    if (value < 0 && units.find_first_not_of('0') != std::string::npos) text.push_back('-');
    text.append(units, first, point - first);
    if (places > 0) text.append(1, '.').append(units, point);
    return text;
}

}  // namespace tongqiu
