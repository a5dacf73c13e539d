#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "tongqiu/expected.h"
#include "tongqiu/table/table_conversion.h"

namespace tongqiu::table {

// The two ways a table comes in; ConvertTable tells them apart by the file's content.

// Reads the next block of `in` into `block`; empty at the end.
std::string_view ReadBlock(std::istream& in, std::string& block);

// CSV, whose first block `text` has been read already (csv/csv_input.cpp).
Expected<TableSummary, TableError> ConvertCsv(std::istream& in, std::string_view text,
                                              const WriterFactory& output, TableOptions options);

// An .xlsx workbook, from a stream that can seek (xlsx/read/workbook_input.cpp).
Expected<TableSummary, TableError> ConvertWorkbook(std::istream& in, const WriterFactory& output,
                                                   const TableOptions& options);

}  // namespace tongqiu::table
