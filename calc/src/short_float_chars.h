#pragma once

namespace tongqiu {

// Exact conversions for the numbers a table is made of, in plain double arithmetic, for where
// the only other exact way is the C library's long double arithmetic (in software under
// WebAssembly, and some fifty times slower). Each says false where it cannot be sure.

// `text` is digits with an optional point and exponent, as ReadDouble accepts them.
bool ReadShort(const char* first, const char* last, double& value);

// Writes `value` (above 0) with `precision` digits after the point as "%.*e" does; `end` is where
// the text ends.
bool WriteShort(char* first, const char* last, double value, int precision, char*& end);

}  // namespace tongqiu
