#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tongqiu::batch {

// One record of a CSV file.
struct CsvRecord {
    std::vector<std::string> cells;  // none for an empty line
    std::string_view ending;         // "\r\n", "\n", "\r", or "" at the end of the input
    long line = 0;                   // the line it starts on, counted from 1
};

// Why an input table cannot be read: where the trouble starts (0 when no line is to blame) and
// what it is, in words for the user (UTF-8).
struct InputError {
    long line = 0;
    std::string message;
};

// Where a message is about: "FILE 第 N 行", or the file alone when `line` is 0.
std::string Where(std::string_view file, long line);

// What a record is handed to; it returns why the table cannot be read on, if it cannot.
using RecordSink = std::function<std::optional<InputError>(const CsvRecord&)>;

// Reads CSV (quoted cells may hold commas, quotes and line breaks; lines end in LF or CRLF) from
// text fed in pieces of any size, and hands on each record as soon as it is complete, so that
// memory does not grow with the number of records. A quote inside an unquoted cell, or after the
// closing quote, is taken as text. Reading stops at the first error: a cell over kMaxCell bytes,
// a quote never closed at the end, or one that the sink returns. Feed and Finish return it.
class CsvReader {
public:
    static constexpr std::size_t kMaxCell = std::size_t{1} << 20;

    explicit CsvReader(RecordSink onRecord) : m_onRecord(std::move(onRecord)) { m_record.line = 1; }

    [[nodiscard]] std::optional<InputError> Feed(std::string_view text);
    [[nodiscard]] std::optional<InputError> Finish();  // the end of the input

    [[nodiscard]] long Line() const { return m_line; }

private:
    enum class State { CellStart, Unquoted, Quoted, QuoteInQuoted, CarriageReturn };

    void Take(char c);
    void Append(char c);
    void EndCell();
    void EndRecord(std::string_view ending);

    RecordSink m_onRecord;
    std::optional<InputError> m_error;
    State m_state = State::CellStart;
    CsvRecord m_record;
    std::size_t m_cells = 0;  // cells of m_record in use; the vector keeps its strings for reuse
    bool m_blank = true;      // nothing yet on the record's first line
    long m_line = 1;
};

// Appends a cell to a line of CSV, in quotes when it holds a comma, a quote or a line break.
void AppendCsvCell(std::string& line, std::string_view cell);

}  // namespace tongqiu::batch
