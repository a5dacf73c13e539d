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

#else  // fast_float and {fmt}, header-only, round exactly as the standard library would

#include <cmath>
#include <system_error>

#define FMT_HEADER_ONLY
#include <fast_float/fast_float.h>
#include <fmt/compile.h>

namespace tongqiu {

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
    double read = 0.0;
    const auto [end, error] = fast_float::from_chars(first, last, read);
    // fast_float gives infinity for a number beyond the largest double, with no error.
    if (error == std::errc{} && std::isinf(read)) return {end, std::errc::result_out_of_range};
    if (error == std::errc{}) value = read;
    return {end, error};
}

std::to_chars_result WriteScientific(char* first, char* last, double value, int precision) {
    const auto size = last - first;
    // Compiled: the format is not parsed again for every number.
    const auto [end, written] =
        fmt::format_to_n(first, size, FMT_COMPILE("{:.{}e}"), value, precision);
    if (written > static_cast<std::size_t>(size)) return {last, std::errc::value_too_large};
    return {end, std::errc{}};
}

}  // namespace tongqiu

#endif
