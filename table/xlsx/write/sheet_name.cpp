#include "xlsx/write/xlsx_writer.h"

namespace tongqiu::table {

std::string WorkbookSheetName(std::string_view name) {
    constexpr std::size_t kMaxUnits = 31;  // UTF-16 units
    std::string made;
    std::size_t units = 0;
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::size_t width = length == 4 ? 2 : 1;  // beyond the BMP: a surrogate pair
        if (units + width > kMaxUnits) break;
        units += width;
        const std::string_view character = name.substr(i, length);
        i += length;
        const bool refused = length == 1 && std::string_view("[]:*?/\\").find(character[0]) !=
                                                std::string_view::npos;
        if (refused) {
            made += '_';
        } else {
            made.append(character);
        }
    }
    if (made.starts_with('\'')) made.front() = '_';
    if (made.ends_with('\'')) made.back() = '_';
    return made.empty() ? "Sheet1" : made;
}

}  // namespace tongqiu::table
