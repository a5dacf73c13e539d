#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "tongqiu/table/row.h"

namespace tongqiu::table {

// Reads CSV (quoted cells may hold commas, quotes and line breaks; lines end in LF or CRLF) from
// text fed in pieces of any size, and hands on each record as soon as it is complete, so that
// memory does not grow with the number of records. A quote inside an unquoted cell, or after the
// closing quote, is taken as text. Reading stops at the first error: a cell over kMaxCell bytes,
// a quote never closed at the end, or one that the sink returns. Feed and Finish return it.
class CsvReader {
public:
    static constexpr std::size_t kMaxCell = std::size_t{1} << 20;

    explicit CsvReader(RowSink onRecord) : m_onRecord(std::move(onRecord)) { m_record.line = 1; }

    [[nodiscard]] std::optional<TableError> Feed(std::string_view text);
    [[nodiscard]] std::optional<TableError> Finish();  // the end of the input

    [[nodiscard]] long Line() const { return m_line; }

private:
    enum class State { CellStart, Unquoted, Quoted, QuoteInQuoted, CarriageReturn };

    void Take(char c);
    void Append(char c);
    void EndCell();
    void EndRecord(std::string_view ending);

    RowSink m_onRecord;
    std::optional<TableError> m_error;
    State m_state = State::CellStart;
    TableRow m_record;
    std::size_t m_cells = 0;  // cells of m_record in use; the vector keeps its strings for reuse
    bool m_blank = true;      // nothing yet on the record's first line
    long m_line = 1;
};

// Appends a cell to a line of CSV, in quotes when it holds a comma, a quote or a line break.
void AppendCsvCell(std::string& line, std::string_view cell);

}  // namespace tongqiu::table
