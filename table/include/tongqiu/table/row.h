#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/calc_failure.h"
#include "tongqiu/field_set.h"
#include "tongqiu/table/table_error.h"

namespace tongqiu::table {

// A workbook's number format: its number there and its code, the workbook's own or the
// built-in one of that number; "" where neither is known (shown as General).
struct NumberFormat {
    int id = 0;
    std::string code;
};

// What a cell's number format shows a number as. A dimension is read only from a Number.
enum class Shows : std::uint8_t { Number, Percent, Fraction, Date, Time, Text };

// Why a tube's row has no results, or a ball no ball of the kit; worded by RowFailureMessage.
enum class RowFault : std::uint8_t {
    MissingCells,  // `cells` cells where the header has `width`
    BadSize,       // 规格 not written as Φ外径×壁厚
    NotLength,     // `field`'s cell shows `shows` (a date, a time, a percent, a fraction): `text`
    Calculation,   // the calculation's `failure`
    BadKind,       // 类型 names none of the three kinds
    NoKitBall,     // no ball of the kit from `from` mm up to below `below` mm
};

struct RowFailure {
    RowFault fault = RowFault::Calculation;
    std::size_t width = 0;
    std::size_t cells = 0;
    FieldName field = FieldName::Text1;
    Shows shows = Shows::Number;
    std::string text{};
    CalcFailure failure{};
    double from = 0;
    double below = 0;
};

// What a cell of a workbook holds besides the text it shows. CSV cells have none.
struct CellValue {
    enum class Kind : std::uint8_t { Text, Number };
    Kind kind = Kind::Text;
    Shows shows = Shows::Number;
    double number = 0;
    const NumberFormat* format = nullptr;  // a number's; none for General
    // Where the text shows more than the number (grouping, a currency, "mm", parentheses): the
    // number as shown, its digits and point with its sign ("3000" for "3,000"); else empty.
    std::string shownNumber;
};

// One row of a table: the texts its cells show, and for a workbook what they hold.
struct TableRow {
    std::vector<std::string> cells;  // none for an empty row
    std::vector<CellValue> values;   // a workbook's: one for each cell; empty for CSV
    std::string_view ending;         // CSV: "\r\n", "\n", "\r", or "" at the end of the input
    long line = 0;                   // CSV: the line it starts on; a workbook: its row; from 1
};

// What a row is handed to; it returns why the table cannot be read on, if it cannot.
using RowSink = std::function<std::optional<TableError>(const TableRow&)>;

}  // namespace tongqiu::table
