#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "tongqiu/result_columns.h"
#include "tongqiu/table/row.h"

namespace tongqiu::table {

// The texts that follow a row's cells: one for each result column, then 说明.
inline constexpr std::size_t kResultTexts = kResultColumns.size() + 1;

// What a row gets beside its own cells: the headings on the header, the texts on a computed row.
struct RowResults {
    std::size_t column = 0;  // where they start: the header's width, the row padded up to it
    std::array<std::string_view, kResultTexts> texts{};  // all but 说明 empty on a failed row
    bool heading = false;                                // the header's row
};

// Where a converted table goes, one row after the other, in its format. A row without results
// (above the header, or empty) is written as it was; with them, its cells up to the header's
// width, the results, then the cells beyond.
class TableWriter {
public:
    virtual ~TableWriter() = default;
    TableWriter() = default;
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    [[nodiscard]] virtual std::optional<TableError> Write(const TableRow& row,
                                                          const RowResults* results) = 0;
    // Completes the file; its error, if it could not be written.
    [[nodiscard]] virtual std::optional<TableError> Finish() = 0;
};

}  // namespace tongqiu::table
