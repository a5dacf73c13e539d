#include "csv/csv.h"

#include <algorithm>

namespace tongqiu::table {

std::optional<TableError> CsvReader::Feed(std::string_view text) {
    for (const char c : text) {
        if (m_error) break;
        Take(c);
    }
    return m_error;
}

void CsvReader::Take(char c) {
    switch (m_state) {
        case State::CarriageReturn:
            if (c == '\n') {
                EndRecord("\r\n");
                return;
            }
            EndRecord("\r");  // a carriage return alone ends a line too
            [[fallthrough]];
        case State::CellStart:
            if (c == '"') {
                m_blank = false;
                m_state = State::Quoted;
                return;
            }
            [[fallthrough]];
        case State::Unquoted:
        case State::QuoteInQuoted:
            if (c == ',') {
                m_blank = false;
                EndCell();
            } else if (c == '\n') {
                EndRecord("\n");
            } else if (c == '\r') {
                m_state = State::CarriageReturn;
            } else {
                if (m_state == State::QuoteInQuoted && c == '"') {
                    m_state = State::Quoted;  // "" in quotes stands for one quote
                } else {
                    m_state = State::Unquoted;
                }
                Append(c);
            }
            return;
        case State::Quoted:
            if (c == '"') {
                m_state = State::QuoteInQuoted;
            } else {
                if (c == '\n') ++m_line;
                Append(c);
            }
            return;
    }
}

void CsvReader::Append(char c) {
    m_blank = false;
    if (m_cells == m_record.cells.size()) m_record.cells.emplace_back();
    std::string& cell = m_record.cells[m_cells];
    if (cell.size() >= kMaxCell) {
        m_error = TableError{TableFault::CellTooLarge, m_record.line};
        return;
    }
    cell.push_back(c);
}

void CsvReader::EndCell() {
    if (m_cells == m_record.cells.size()) m_record.cells.emplace_back();
    ++m_cells;
    m_state = State::CellStart;
}

void CsvReader::EndRecord(std::string_view ending) {
    if (!m_blank) EndCell();
    m_record.cells.resize(m_cells);
    m_record.ending = ending;
    m_error = m_onRecord(m_record);
    for (std::string& cell : m_record.cells) cell.clear();
    m_cells = 0;
    m_blank = true;
    m_state = State::CellStart;
    if (!ending.empty()) ++m_line;
    m_record.line = m_line;
}

std::optional<TableError> CsvReader::Finish() {
    if (m_error) return m_error;
    if (m_state == State::Quoted) return TableError{TableFault::UnclosedQuote, m_record.line};
    if (m_state == State::CarriageReturn) {
        EndRecord("\r");
    } else if (!m_blank) {
        EndRecord("");
    }
    return m_error;
}

void AppendCsvCell(std::string& line, std::string_view cell) {
    const auto special = [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; };
    if (std::none_of(cell.begin(), cell.end(), special)) {
        line += cell;
        return;
    }
    line += '"';
    for (const char c : cell) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace tongqiu::table
