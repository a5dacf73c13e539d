#include "input_columns.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "tongqiu/failure_message.h"

namespace tongqiu::table {
namespace {

// White space as a spreadsheet leaves it around a heading, the ideographic space included.
std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kIdeographicSpace = "\u3000";
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view space :
             {std::string_view(" "), std::string_view("\t"), kIdeographicSpace}) {
            if (text.starts_with(space)) text.remove_prefix(space.size()), trimmed = true;
            if (text.ends_with(space)) text.remove_suffix(space.size()), trimmed = true;
        }
    }
    return text;
}

// The heading without white space and without a unit in brackets after it.
std::string_view Name(std::string_view heading) {
    heading = Trimmed(heading);
    const std::size_t unit = std::min(heading.find('('), heading.find("（"));
    return Trimmed(heading.substr(0, unit));
}

bool SameLatinName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

Expected<InputColumns, TableError> FindInputColumns(const std::vector<std::string>& header) {
    InputColumns columns{};
    for (std::size_t input = 0; input < kInputFields.size(); ++input) {
        const std::string_view caption = CaptionOf(kInputFields[input]);
        std::optional<std::size_t> found;
        for (std::size_t column = 0; column < header.size(); ++column) {
            const std::string_view name = Name(header[column]);
            if (name != caption && !SameLatinName(name, kLatinNames[input])) continue;
            if (found) return TableError{TableFault::ColumnTwice, 0, std::string(caption)};
            found = column;
        }
        if (!found) {
            return TableError{TableFault::ColumnMissing, 0, std::string(caption)};
        }
        columns[input] = *found;
    }
    return columns;
}

}  // namespace tongqiu::table
