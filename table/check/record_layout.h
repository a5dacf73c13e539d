#pragma once

// How a 通球记录 is laid out, as this program writes it and a spreadsheet may have changed it:
// the columns its header names, and the lines to sign at its end.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input_columns.h"
#include "record.h"
#include "table_input.h"

namespace tongqiu::table {

// A record's header is below its title and what it was made from.
inline constexpr int kRecordHeaderRows = kHeaderSearchRows + 3;

// Where a record's header puts what is checked.
struct RecordColumns {
    std::size_t result = 0;
    std::size_t inspector = 0;
    std::size_t date = 0;
    std::optional<std::size_t> ball;          // 球号
    std::optional<std::size_t> ballDiameter;  // 球径, beside a 球号 the kit filled in
    std::optional<InputColumns> inputs;       // the tube's dimensions
    std::vector<std::size_t> identity;
};

// The columns of a record's header: 序号 first, and 结果, 检验员 and 日期 (the last of each name:
// those filled in); none for a row that is no record's header.
std::optional<RecordColumns> FindRecordColumns(const std::vector<std::string>& header);

// Which signer's line a row is, if it is one.
std::optional<std::size_t> SignerOf(const TableRow& row);

// Whether a signer's line has a name on it, more than its blanks, or a cell beside it filled.
bool Signed(const TableRow& row, std::size_t signer);

}  // namespace tongqiu::table
