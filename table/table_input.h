#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/table/row.h"
#include "tongqiu/table/table_conversion.h"

namespace tongqiu::table {

// Reading a table's rows, whatever they are read for: a table of tubes, a ball kit, a filled
// 通球记录. CSV or a workbook, told apart by the file's content.

// What a reading has found it reads; told again when a CSV is read again from its start.
// The header is looked for in this many rows at the top of a table.
inline constexpr int kHeaderSearchRows = 20;

struct TableStart {
    TableFormat format = TableFormat::Csv;
    Encoding encoding = Encoding::Utf8;  // a CSV's
    std::string sheet;                   // a workbook's sheet
};

struct TableReading {
    std::optional<Encoding> input;  // CSV: decided from the first block when not given
    std::string sheet;              // a workbook's sheet by name; "" for the first with a header
    // Whether a row is a header: a workbook's first sheet with one in its first `headerRows`
    // rows is read.
    std::function<bool(const std::vector<std::string>& cells)> isHeader;
    int headerRows = kHeaderSearchRows;
    // Where the rows go: asked for when the reading starts, and again when it starts over.
    std::function<RowSink(const TableStart& start)> start;
    // Told once the rows have ended, with why if they ended early, while what they point into
    // (a workbook's number formats) is still there; only after `start`. None for a reading that
    // keeps nothing it points into.
    std::function<void(const std::optional<TableError>& error)> end;
};

// Reads the table in `in` into the sink that `reading.start` gives; why it could not be read, if
// it could not (then `start` may not have been asked). A workbook's number formats read as
// General are added to `unknownFormats`.
std::optional<TableError> ReadTable(ByteSource& in, const TableReading& reading,
                                    std::vector<std::string>& unknownFormats);

// Reads the next block of `in` into `block`; empty at the end.
std::string_view ReadBlock(ByteSource& in, std::string& block);

// CSV, whose first block `text` has been read already (csv/csv_input.cpp).
std::optional<TableError> ReadCsv(ByteSource& in, std::string_view text,
                                  const TableReading& reading);

// An .xlsx workbook, from a stream that can seek (xlsx/read/workbook_input.cpp).
std::optional<TableError> ReadWorkbook(ByteSource& in, const TableReading& reading,
                                       std::vector<std::string>& unknownFormats);

}  // namespace tongqiu::table
