#include "tongqiu/float_chars.h"

#include <version>

#if defined(__cpp_lib_to_chars)

namespace tongqiu {

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}

std::to_chars_result WriteScientific(char* first, char* last, double value, int precision) {
    return std::to_chars(first, last, value, std::chars_format::scientific, precision);
}

}  // namespace tongqiu

#elif defined(__EMSCRIPTEN__)  // musl, whose strtod and printf are exact and know no locale

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "short_float_chars.h"

namespace tongqiu {

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
    // strtod takes more than from_chars (a sign, spaces, hexadecimal, "inf"): only the decimal
    // number at the start is handed to it.
    const char* end = first;
    const auto digits = [&] {
        const char* from = end;
        while (end != last && *end >= '0' && *end <= '9') ++end;
        return end - from;
    };
    auto mantissa = digits();
    if (end != last && *end == '.') {
        ++end;
        mantissa += digits();
    }
    if (mantissa == 0) return {first, std::errc::invalid_argument};
    if (end != last && (*end == 'e' || *end == 'E')) {
        const char* exponent = end++;
        if (end != last && (*end == '+' || *end == '-')) ++end;
        if (digits() == 0) end = exponent;
    }
    if (ReadShort(first, end, value)) return {end, std::errc{}};
    const double read = std::strtod(std::string(first, end).c_str(), nullptr);
    if (std::isinf(read)) return {end, std::errc::result_out_of_range};
    value = read;
    return {end, std::errc{}};
}

std::to_chars_result WriteScientific(char* first, char* last, double value, int precision) {
    char* end = nullptr;
    if (WriteShort(first, last, value, precision, end)) return {end, std::errc{}};
    const auto size = last - first;
    const int written =
        std::snprintf(first, static_cast<std::size_t>(size), "%.*e", precision, value);
    if (written < 0 || written >= size) return {last, std::errc::value_too_large};
    return {first + written, std::errc{}};
}

}  // namespace tongqiu

#else
#error "no exact conversion between doubles and decimal text for this standard library"
#endif
