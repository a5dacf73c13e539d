#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/table/table_error.h"

namespace tongqiu::table {

// A workbook's number format: its number there (below 164 one of the formats every spreadsheet
// knows by number alone) and its code, "" where the workbook gives none.
struct NumberFormat {
    int id = 0;
    std::string code;
};

// What a cell of a workbook holds besides the text it shows. CSV cells have none.
struct CellValue {
    enum class Kind : std::uint8_t { Text, Number };
    Kind kind = Kind::Text;
    double number = 0;
    const NumberFormat* format = nullptr;  // a number's; none for General
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
