#pragma once

#include <charconv>

namespace tongqiu {

// Conversion between a double and its decimal text, the one place where the standard library may
// fall short: some (libc++ as shipped with Emscripten) have no floating-point std::from_chars and
// std::to_chars. Both results are exact, whichever code does the work.

// Reads a decimal number without a sign, as std::from_chars with chars_format::general does;
// result_out_of_range when it is beyond the largest double.
std::from_chars_result ReadDouble(const char* first, const char* last, double& value);

// Writes `value` as d.ddde+xx with `precision` digits after the point, correctly rounded, as
// std::to_chars with chars_format::scientific does.
std::to_chars_result WriteScientific(char* first, char* last, double value, int precision);

}  // namespace tongqiu
