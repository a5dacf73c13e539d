#include "xlsx/write/xlsx_writer.h"

#include "xlsx/write/sheet_writer.h"

namespace tongqiu::table {

XlsxWriter::XlsxWriter(const std::filesystem::path& path, const WriterRequest& request)
    : m_book(path) {
    constexpr std::string_view kRecordSheet = "通球记录";
    lxw_worksheet* results = m_book.AddSheet(request.sheet);
    lxw_worksheet* record =
        m_book.AddSheet(request.sheet == kRecordSheet ? "通球记录 (2)" : std::string(kRecordSheet));
    if (results == nullptr || record == nullptr) return;
    m_results = std::make_unique<ResultsSheet>(m_book, results);
    m_record = std::make_unique<RecordSheet>(m_book, record, request);
}

std::optional<TableError> XlsxWriter::Write(const TableRow& row, const RowResults* results) {
    if (m_record == nullptr) return TableError{TableFault::OutputFailed};
    if (auto error = m_results->Write(row, results)) return error;
    return m_record->Write(row, results);
}

std::optional<TableError> XlsxWriter::Finish() {
    if (m_record == nullptr) return TableError{TableFault::OutputFailed};
    if (auto error = m_results->Finish()) return error;
    if (auto error = m_record->Finish()) return error;
    return m_book.Close();
}

}  // namespace tongqiu::table
