#include "csv/csv_writer.h"

#include <algorithm>

#include "csv/csv.h"

namespace tongqiu::table {

CsvWriter::CsvWriter(ByteOutput out, Encoding encoding)
    : m_out(std::move(out)), m_encoding(encoding) {
    if (encoding == Encoding::Utf8) {
        m_failed = !m_out(kUtf8ByteOrderMark);
    } else {
        m_encoder.emplace(Encoding::Utf8, Encoding::Gb18030);
    }
}

void CsvWriter::AppendCells(const TableRow& row, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
        if (i > 0 || !m_line.empty()) m_line += ',';
        AppendCsvCell(m_line, row.cells[i]);
    }
}

std::optional<TableError> CsvWriter::Write(const TableRow& row, const RowResults* results) {
    m_line.clear();
    if (results == nullptr) {
        AppendCells(row, 0, row.cells.size());
    } else {
        const std::size_t own = std::min(row.cells.size(), results->column);
        AppendCells(row, 0, own);
        // Empty cells up to the header's width, so that the results stand under their headings.
        for (std::size_t i = own; i < results->column; ++i) m_line += ',';
        for (const std::string_view text : results->Texts()) {
            m_line += ',';
            AppendCsvCell(m_line, text);
        }
        for (std::size_t i = results->column; i < row.cells.size(); ++i) {
            m_line += ',';
            AppendCsvCell(m_line, row.cells[i]);
        }
    }
    m_line += row.ending;
    if (m_encoding == Encoding::Utf8) {
        m_failed = m_failed || !m_out(m_line);
    } else {
        m_encoded.clear();
        // Every character read came from GB18030 and the program's own texts have their twins
        // in it, so the line converts whole.
        (void)m_encoder->Convert(m_line, m_encoded);
        m_failed = m_failed || !m_out(m_encoded);
    }
    return std::nullopt;
}

std::optional<TableError> CsvWriter::Finish() {
    if (m_encoder && !m_encoder->Ready()) return TableError{TableFault::OutputNoConverter};
    if (m_failed) return TableError{TableFault::OutputFailed};
    return std::nullopt;
}

}  // namespace tongqiu::table
