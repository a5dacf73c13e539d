#pragma once

#include <string>
#include <string_view>

#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {

// For converters that take a whole text at a time (the Windows API, the browser's TextDecoder):
// appends the text converted to `out` and returns true, or returns false, appending nothing, when
// the text is not valid in the encoding it comes from.
bool ConvertWhole(std::string_view text, Encoding from, Encoding to, std::string& out);

// Whether the system can convert text from one encoding to the other.
bool CanConvert(Encoding from, Encoding to);

}  // namespace tongqiu::table
