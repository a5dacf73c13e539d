#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_error.h"

namespace tongqiu::table {

// The table's words for the user (UTF-8), for tongqiu-batch and the page alike.

// The error, without saying where.
std::string TableErrorMessage(const TableError& error);

// Where a message is about: "FILE 第 N 行", or the file alone when `line` is 0.
std::string Where(std::string_view file, long line);

// "FILE 第 N 行：MESSAGE".
std::string Located(std::string_view file, long line, std::string_view message);

// The error with the file it is about: the input, or the output when it is the output's.
std::string Located(const TableError& error, std::string_view input, std::string_view output);

// Why a row has no results or a ball no ball of the kit, on one line: "缺少单元格：…",
// "球库中没有直径在 24.00 与 30.00 mm 之间的球。", the calculation's message.
std::string RowFailureMessage(const RowFailure& failure);

// "N 根管子在球库中没有合适的球，见“说明”列。"
std::string NoKitBallNote(std::size_t tubes);

// What a finished conversion has to say besides its rows: number formats read as General, a
// sheet renamed in the results. A sentence each.
std::vector<std::string> SummaryNotes(const TableSummary& summary);

}  // namespace tongqiu::table
