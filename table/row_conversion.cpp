#include "row_conversion.h"

#include <algorithm>

#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"
#include "tongqiu/result_columns.h"

namespace tongqiu::table {
namespace {

// Progress is told after every this many rows.
constexpr std::size_t kProgressRows = 5000;

}  // namespace

std::optional<TableError> Conversion::Header(const TableRow& row) {
    const auto columns = FindInputColumns(row.cells);
    if (!columns) {
        if (!m_firstNonHeader) {
            m_firstNonHeader = columns.error();
            m_firstNonHeader->line = row.line;
        }
        if (auto error = m_writer.Write(row, nullptr)) return error;
        if (++m_rowsAboveHeader == kHeaderSearchRows) return m_firstNonHeader;
        return std::nullopt;
    }
    m_columns = *columns;
    m_results.column = row.cells.size();
    m_results.heading = true;
    for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
        m_results.texts[i] = kResultColumns[i].heading;
    }
    m_results.texts.back() = kExplanationHeading;
    auto error = m_writer.Write(row, &m_results);
    m_results.heading = false;
    return error;
}

std::optional<TableError> Conversion::Row(const TableRow& row) {
    const std::vector<std::string>& cells = row.cells;
    const std::size_t width = m_results.column;
    std::string& explanation = m_explanation;
    explanation.clear();
    if (cells.size() < width && !m_missingCellsAreEmpty) {
        explanation = "缺少单元格：表头有 " + std::to_string(width) + " 列，本行只有 " +
                      std::to_string(cells.size()) + " 列。";
    } else {
        for (std::size_t input = 0; input < kInputFields.size(); ++input) {
            const std::size_t column = (*m_columns)[input];
            m_fields.Set(kInputFields[input], column < cells.size() ? cells[column] : "");
        }
        if (const auto failure = Calculate(m_fields)) {
            explanation = FailureMessage(*failure);
            std::erase(explanation, '\n');  // one line: each sentence ends in "。"
        }
    }
    for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
        m_results.texts[i] = explanation.empty()
                                 ? std::string_view(m_fields.Get(kResultColumns[i].field))
                                 : std::string_view();
    }
    m_results.texts.back() = explanation;
    if (++m_summary.rows % kProgressRows == 0 && m_progress) m_progress(m_summary.rows);
    if (!explanation.empty() && m_summary.failedRows++ == 0) {
        m_summary.firstFailureLine = row.line;
        m_summary.firstFailure = explanation;
    }
    return m_writer.Write(row, &m_results);
}

// The summary, or the first error: the reading's, the header's, then the writing's.
Expected<TableSummary, TableError> Finished(const std::optional<TableError>& readError,
                                            const Conversion& conversion, TableWriter& writer) {
    auto error = readError ? readError : conversion.MissingHeader();
    auto written = writer.Finish();
    if (error) return *error;
    if (written) return *written;
    return conversion.Summary();
}

}  // namespace tongqiu::table
