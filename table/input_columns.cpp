#include "input_columns.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "tongqiu/failure_message.h"
#include "tongqiu/number_text.h"
#include "tongqiu/result_columns.h"

namespace tongqiu::table {

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

std::string_view TrimmedCell(const TableRow& row, std::size_t column) {
    return column < row.cells.size() ? Trimmed(row.cells[column]) : std::string_view();
}

bool IsBlank(const TableRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const std::string& cell) { return Trimmed(cell).empty(); });
}

namespace {

bool SameLatinName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::string_view HeadingName(std::string_view heading) {
    heading = Trimmed(heading);
    const std::size_t unit = std::min(heading.find('('), heading.find("（"));
    return Trimmed(heading.substr(0, unit));
}

Expected<InputColumns, TableError> FindInputColumns(const std::vector<std::string>& header) {
    // Each heading's column: 外径, 壁厚, 弯曲半径, 规格, 类型; and whether it came again.
    const std::array<std::string_view, 5> captions{
        CaptionOf(kInputFields[0]), CaptionOf(kInputFields[1]), CaptionOf(kInputFields[2]),
        kSizeHeading, kKindHeading};
    std::array<std::optional<std::size_t>, 5> found;
    std::array<bool, 5> twice{};
    const auto same = [&](std::size_t which, std::string_view name) {
        return name == captions[which] ||
               (which < kLatinNames.size() && SameLatinName(name, kLatinNames[which]));
    };
    const auto caption = [&](std::size_t which) { return std::string(captions[which]); };
    for (std::size_t column = 0; column < header.size(); ++column) {
        const std::string_view name = HeadingName(header[column]);
        for (std::size_t which = 0; which < found.size(); ++which) {
            if (!same(which, name)) continue;
            twice[which] = twice[which] || found[which].has_value();
            found[which] = found[which].value_or(column);
        }
    }
    InputColumns columns;
    if (!found[0] || !found[1]) columns.size = found[3];
    columns.kind = found[4];
    // A 规格 that is not used is an ordinary column, as often as it comes.
    std::array<bool, 5> used{!columns.size, !columns.size, true, columns.size.has_value(), true};
    for (std::size_t which = 0; which < found.size(); ++which) {
        if (used[which] && twice[which])
            return TableError{TableFault::ColumnTwice, 0, caption(which)};
    }
    for (std::size_t input = 0; input < kInputFields.size(); ++input) {
        if (used[input] && !found[input]) {
            return TableError{TableFault::ColumnMissing, 0, caption(input)};
        }
        columns.inputs[input] = found[input].value_or(0);
    }
    return columns;
}

std::optional<TubeSize> ReadTubeSize(std::string_view text) {
    text = Trimmed(text);
    for (const std::string_view sign : {"Φ", "φ", "Ø", "ø"}) {
        if (text.starts_with(sign)) {
            text.remove_prefix(sign.size());
            break;
        }
    }
    std::size_t at = std::string_view::npos;
    std::size_t length = 0;
    for (const std::string_view times : {"×", "x", "X", "*", "＊", "ｘ", "Ｘ"}) {
        const std::size_t found = text.find(times);
        if (found < at) at = found, length = times.size();
    }
    if (at == std::string_view::npos) return std::nullopt;
    const TubeSize size{Trimmed(text.substr(0, at)), Trimmed(text.substr(at + length))};
    // A number too large is still a number: the calculation says so about its field.
    const auto number = [](std::string_view part) {
        const auto value = FieldValue(part);
        return value.has_value() || value.error() != FailureKind::TypeMismatch;
    };
    if (!number(size.outer) || !number(size.wall)) return std::nullopt;
    return size;
}

std::optional<FieldName> ReadTubeKind(std::string_view text) {
    text = Trimmed(text);
    for (const ResultColumn& column : kResultColumns) {
        const std::string_view caption = column.heading;
        // Two halves, each starting with 有 or 无.
        const std::size_t half = std::min(caption.find("有", 1), caption.find("无", 1));
        if (half == std::string_view::npos) continue;
        if (text == caption || (text.size() == caption.size() &&
                                text.substr(0, caption.size() - half) == caption.substr(half) &&
                                text.substr(caption.size() - half) == caption.substr(0, half))) {
            return column.field;
        }
    }
    return std::nullopt;
}

}  // namespace tongqiu::table
