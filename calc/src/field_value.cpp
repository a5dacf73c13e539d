#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

#include "tongqiu/float_chars.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

// Stands for any character that can be no part of a number.
constexpr char kRefused = '\0';

// Reads one character of UTF-8 text at text[i], advances i past it and returns its ASCII meaning:
// the full-width digits, signs, point and exponent letters that Chinese input methods type become
// their ASCII twins, "。" becomes the decimal point, and white space (also the ideographic space)
// becomes ' '. Anything else is kRefused.
char NextAscii(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) -> unsigned char {
        if (i + k >= text.size()) return 0;
        return static_cast<unsigned char>(text[i + k]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        ++i;
        switch (lead) {
            case ' ':
            case '\t':
            case '\n':
            case '\r':
            case '\v':
            case '\f':
                return ' ';
            default:
                return lead == 0 ? kRefused : static_cast<char>(lead);
        }
    }
    const unsigned char last = byte(2);
    if (lead == 0xE3 && byte(1) == 0x80 && (last == 0x80 || last == 0x82)) {
        i += 3;
        return last == 0x80 ? ' ' : '.';  // U+3000 ideographic space, U+3002 "。"
    }
    if (lead == 0xEF && byte(1) == 0xBC) {  // U+FF00 to U+FF3F
        i += 3;
        if (last >= 0x90 && last <= 0x99) return static_cast<char>('0' + (last - 0x90));  // ０-９
        switch (last) {
            case 0x8B:
                return '+';  // ＋
            case 0x8D:
                return '-';  // －
            case 0x8E:
                return '.';  // ．
            case 0xA5:
                return 'E';  // Ｅ
            default:
                return kRefused;
        }
    }
    if (lead == 0xEF && byte(1) == 0xBD && last == 0x85) {  // ｅ
        i += 3;
        return 'e';
    }
    ++i;
    return kRefused;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the leading non-zero digit of a well-formed number, saturated far
// beyond the range of a double. Only its sign is used, to tell an overflow from an underflow.
std::int64_t LeadingDigitExponent(std::string_view number) {
    constexpr std::int64_t kCap = std::int64_t{1} << 40;
    std::int64_t beforePoint = 0;  // digits after the leading zeros and before the point
    std::int64_t leadingFractionZeros = 0;
    bool seenNonZero = false;
    bool inFraction = false;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            inFraction = true;
        } else if (IsDigit(c)) {
            seenNonZero = seenNonZero || c != '0';
            if (!inFraction && seenNonZero) ++beforePoint;
            if (inFraction && !seenNonZero) ++leadingFractionZeros;
        }
    }
    std::int64_t exponent = 0;
    bool negativeExponent = false;
    for (++i; i < number.size(); ++i) {
        if (number[i] == '-') negativeExponent = true;
        if (IsDigit(number[i]) && exponent < kCap) exponent = exponent * 10 + (number[i] - '0');
    }
    const std::int64_t mantissa = beforePoint > 0 ? beforePoint - 1 : -leadingFractionZeros - 1;
    return (negativeExponent ? -exponent : exponent) + mantissa;
}

}  // namespace

CheckedValue FieldValue(std::string_view text) {
    // Text typed as plain ASCII, by far the most common, is read as it stands: its white space is
    // trimmed below and any inside fails the form as the ' ' it would become. Other text is
    // translated first.
    std::string translated;
    std::string_view ascii = text;
    const auto plain = [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; };
    if (!std::all_of(text.begin(), text.end(), plain)) {
        translated.reserve(text.size());
        for (std::size_t i = 0; i < text.size();) translated.push_back(NextAscii(text, i));
        ascii = translated;
    }

    constexpr std::string_view kSpaces = " \t\n\r\v\f";
    const std::size_t first = ascii.find_first_not_of(kSpaces);
    if (first == std::string::npos) return FailureKind::TypeMismatch;
    const std::string_view trimmed =
        ascii.substr(first, ascii.find_last_not_of(kSpaces) - first + 1);

    // The form: [sign] digits [. digits] [e [sign] digits], with at least one mantissa digit.
    std::size_t pos = 0;
    const auto digitsFrom = [&] {
        const std::size_t start = pos;
        while (pos < trimmed.size() && IsDigit(trimmed[pos])) ++pos;
        return pos - start;
    };
    const bool negative = trimmed[0] == '-';
    if (trimmed[0] == '+' || negative) ++pos;
    const std::size_t numberStart = pos;
    std::size_t mantissaDigits = digitsFrom();
    if (pos < trimmed.size() && trimmed[pos] == '.') {
        ++pos;
        mantissaDigits += digitsFrom();
    }
    if (mantissaDigits == 0) return FailureKind::TypeMismatch;
    if (pos < trimmed.size() && (trimmed[pos] == 'e' || trimmed[pos] == 'E')) {
        ++pos;
        if (pos < trimmed.size() && (trimmed[pos] == '+' || trimmed[pos] == '-')) ++pos;
        if (digitsFrom() == 0) return FailureKind::TypeMismatch;
    }
    if (pos != trimmed.size()) return FailureKind::TypeMismatch;

    // Read without the '+' and without a locale, rounded to the nearest double.
    const std::string_view number = trimmed.substr(numberStart);
    double value = 0.0;
    const auto [end, error] = ReadDouble(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (LeadingDigitExponent(number) >= 0) return FailureKind::Overflow;
        value = 0.0;  // too small for even the smallest subnormal: the nearest double is zero
    } else if (error != std::errc{} || end != number.data() + number.size()) {
        return FailureKind::TypeMismatch;
    }
    return negative ? -value : value;
}

}  // namespace tongqiu
