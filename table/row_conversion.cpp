#include "row_conversion.h"

#include <algorithm>

#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"
#include "tongqiu/result_columns.h"

namespace tongqiu::table {
namespace {

// Progress is told after every this many rows.
constexpr std::size_t kProgressRows = 5000;

// A row's cell in `column`; a row shorter than the header has none there.
std::string_view CellAt(const std::vector<std::string>& cells, std::size_t column) {
    return column < cells.size() ? std::string_view(cells[column]) : std::string_view();
}

// What a workbook's number shows, where that is no length.
std::string_view NoLength(Shows shows) {
    switch (shows) {
        case Shows::Percent:
            return "百分比";
        case Shows::Fraction:
            return "分数";
        case Shows::Date:
            return "日期";
        case Shows::Time:
            return "时间";
        case Shows::Number:
        case Shows::Text:
            break;
    }
    return {};
}

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
    m_results.count = m_columns->kind ? kMostResultTexts : kResultTexts;
    m_results.kindColumn = m_columns->kind;
    m_results.heading = true;
    for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
        m_results.texts[i] = kResultColumns[i].heading;
    }
    if (m_columns->kind) m_results.texts[kResultColumns.size()] = kChosenBallHeading;
    m_results.texts[m_results.count - 1] = kExplanationHeading;
    auto error = m_writer.Write(row, &m_results);
    m_results.heading = false;
    return error;
}

bool Conversion::Dimension(const TableRow& row, std::size_t column, FieldName field) {
    std::string text(CellAt(row.cells, column));
    if (column < row.values.size() && row.values[column].kind == CellValue::Kind::Number) {
        const CellValue& value = row.values[column];
        if (const std::string_view shows = NoLength(value.shows); !shows.empty()) {
            m_explanation = std::string(CaptionOf(field)) + "显示为" + std::string(shows) + " " +
                            text + "，不是尺寸。";
            return false;
        }
        if (!value.shownNumber.empty()) text = value.shownNumber;
    }
    m_fields.Set(field, std::move(text));
    return true;
}

bool Conversion::Compute(const TableRow& row) {
    const std::vector<std::string>& cells = row.cells;
    const std::size_t width = m_results.column;
    if (cells.size() < width && !m_missingCellsAreEmpty) {
        m_explanation = "缺少单元格：表头有 " + std::to_string(width) + " 列，本行只有 " +
                        std::to_string(cells.size()) + " 列。";
        return false;
    }
    std::optional<TubeSize> size;
    if (m_columns->size) {
        size = ReadTubeSize(CellAt(cells, *m_columns->size));
        if (!size) {
            m_explanation = "规格应写作 Φ外径×壁厚，如 Φ38×4。";
            return false;
        }
    }
    if (size) {
        m_fields.Set(FieldName::Text1, std::string(size->outer));
        m_fields.Set(FieldName::Text2, std::string(size->wall));
    }
    // A workbook's number is read as the number its cell shows.
    for (std::size_t i = size ? 2 : 0; i < kInputFields.size(); ++i) {
        if (!Dimension(row, m_columns->inputs[i], kInputFields[i])) return false;
    }
    if (const auto failure = Calculate(m_fields)) {
        m_explanation = FailureMessage(*failure);
        std::erase(m_explanation, '\n');  // one line: each sentence ends in "。"
        return false;
    }
    return true;
}

std::optional<TableError> Conversion::Row(const TableRow& row) {
    m_explanation.clear();
    const bool computed = Compute(row);
    for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
        m_results.texts[i] =
            computed ? std::string_view(m_fields.Get(kResultColumns[i].field)) : std::string_view();
    }
    if (m_columns->kind) {
        // The bench needs the one ball: a row that does not say which kind it is fails.
        const auto kind = ReadTubeKind(CellAt(row.cells, *m_columns->kind));
        if (computed && !kind) {
            m_explanation = "类型应为“有拼接焊缝无弯头”“有弯头无拼接焊缝”或“有弯头有拼接焊缝”。";
        }
        m_results.texts[kResultColumns.size()] =
            computed && kind ? std::string_view(m_fields.Get(*kind)) : std::string_view();
    }
    m_results.texts[m_results.count - 1] = m_explanation;
    if (++m_summary.rows % kProgressRows == 0 && m_progress) m_progress(m_summary.rows);
    if (!m_explanation.empty() && m_summary.failedRows++ == 0) {
        m_summary.firstFailureLine = row.line;
        m_summary.firstFailure = m_explanation;
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
