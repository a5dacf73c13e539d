#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "csv.h"
#include "text_encoding.h"
#include "tongqiu/expected.h"

namespace tongqiu::batch {

// What a conversion did: the rows it computed or refused (not the header, not empty lines), and
// the first refused row's line and message.
struct TableSummary {
    std::size_t rows = 0;
    std::size_t failedRows = 0;
    long firstFailureLine = 0;
    std::string firstFailure;
};

struct TableEncodings {
    std::optional<Encoding> input;   // decided from the first block when not given
    std::optional<Encoding> output;  // the input's when not given
};

// Reads a table of tubes as CSV from `in` and writes it to `out`: every row with its cells as they
// were, then the twelve result columns (内径 ... 有弯头有拼接焊缝, 说明). The header is the first
// of the first 20 rows that names the three input columns; rows above it are kept as they are and
// not computed. UTF-8 output starts with a byte-order mark. Returns what it did, or an InputError
// when the input is no CSV, is not valid in its encoding, or lacks a column.
//
// A table whose first block is plain ASCII may hold GB18030 further down (a remark typed later).
// Given `restartOutput`, which must bring `out` back to empty, an input that can be read again from
// its start is then read again whole as GB18030; without it, or when Chinese UTF-8 came before,
// the table is refused at the line that is not UTF-8.
Expected<TableSummary, InputError> ConvertTable(
    std::istream& in, std::ostream& out, TableEncodings encodings = {},
    const std::function<void()>& restartOutput = nullptr);

}  // namespace tongqiu::batch
