#pragma once

#include <cstddef>
#include <istream>
#include <ostream>

namespace tongqiu::batch {

// Reads a table of tubes as CSV from `in` and writes it to `out`: every row with its cells as they
// were, then the twelve result columns (内径 ... 有弯头有拼接焊缝, 说明). The output is in the
// input's encoding; UTF-8 output starts with a byte-order mark. Returns how many rows failed.
// Throws InputError when the input is no CSV, is not valid in its encoding, or lacks a column.
std::size_t ConvertTable(std::istream& in, std::ostream& out);

}  // namespace tongqiu::batch
