// Feeds a number format code and a number to the format engine: the first eight bytes are the
// number (any double, infinities and NaNs too), the ninth says 1904 or 1900, the rest is the code.
// The code is read or refused, never more; a number and a text are shown in bounded text.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "require.h"
#include "xlsx/format/number_format.h"
#include "xlsx/read/cell_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tongqiu::table;
    if (size < 9) return 0;
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const bool date1904 = (data[8] & 1U) != 0;
    const std::string_view code(reinterpret_cast<const char*>(data + 9), size - 9);
    if (Characters(code) > kMaxShownCharacters) return 0;  // a workbook's reader refuses it
    const auto format = NumberFormatCode::Parse(code);
    if (!format) return 0;
    const ShownValue shown = format->Show(value, date1904);
    Require(Characters(shown.text) <= kMaxShownCharacters, "a number is shown in bounded text");
    Require(shown.number.empty() || shown.shows == Shows::Number, "only a number has a number");
    Require(Characters(format->ShowText("外径")) <= 2 * kMaxShownCharacters, "a text too");
    return 0;
}
