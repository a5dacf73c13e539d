#include "row_conversion.h"

#include <algorithm>

#include "tongqiu/calculate.h"
#include "tongqiu/number_text.h"
#include "tongqiu/result_columns.h"
#include "tongqiu/table/table_messages.h"

namespace tongqiu::table {
namespace {

// Progress is told after every this many rows.
constexpr std::size_t kProgressRows = 5000;

// A row's cell in `column`; a row shorter than the header has none there.
std::string_view CellAt(const std::vector<std::string>& cells, std::size_t column) {
    return column < cells.size() ? std::string_view(cells[column]) : std::string_view();
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
    m_results.kindColumn = m_columns->kind;
    m_results.heading = true;
    std::size_t count = 0;
    const auto add = [&](std::string_view heading, ResultRole role,
                         std::optional<FieldName> source) {
        m_results.texts[count] = heading;
        m_results.roles[count] = role;
        m_sources[count++] = source;
    };
    const auto ball = [&](std::string_view heading, std::optional<FieldName> source) {
        add(heading, ResultRole::Ball, source);
        if (m_options.kit == nullptr) return;
        add(kKitNumberColumn, ResultRole::KitNumber, std::nullopt);
        add(kKitDiameterColumn, ResultRole::KitDiameter, std::nullopt);
    };
    for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
        const ResultColumn& result = kResultColumns[i];
        // Without a kind, the tube is tested with each of the three kinds' balls, the last three.
        if (!m_columns->kind && i + 3 >= kResultColumns.size()) {
            ball(result.heading, result.field);
        } else {
            add(result.heading,
                result.pattern == Pattern::SixPlaces ? ResultRole::Ratio : ResultRole::Result,
                result.field);
        }
    }
    if (m_columns->kind) ball(kChosenBallHeading, std::nullopt);
    add(kExplanationHeading, ResultRole::Explanation, std::nullopt);
    m_results.count = count;
    auto error = m_writer.Write(row, &m_results);
    m_results.heading = false;
    return error;
}

namespace {

// Puts a dimension's cell into its field; why not, where a workbook's cell shows a date, a time,
// a percent or a fraction.
std::optional<RowFailure> Dimension(const TableRow& row, std::size_t column, FieldName field,
                                    FieldSet& fields) {
    std::string text(CellAt(row.cells, column));
    if (column < row.values.size() && row.values[column].kind == CellValue::Kind::Number) {
        const CellValue& value = row.values[column];
        if (value.shows != Shows::Number && value.shows != Shows::Text) {
            return RowFailure{.fault = RowFault::NotLength,
                              .field = field,
                              .shows = value.shows,
                              .text = std::move(text)};
        }
        if (!value.shownNumber.empty()) text = value.shownNumber;
    }
    fields.Set(field, std::move(text));
    return std::nullopt;
}

}  // namespace

std::optional<RowFailure> CalculateTube(const TableRow& row, const InputColumns& columns,
                                        FieldSet& fields) {
    std::optional<TubeSize> size;
    if (columns.size) {
        size = ReadTubeSize(CellAt(row.cells, *columns.size));
        if (!size) return RowFailure{.fault = RowFault::BadSize};
        fields.Set(FieldName::Text1, std::string(size->outer));
        fields.Set(FieldName::Text2, std::string(size->wall));
    }
    // A workbook's number is read as the number its cell shows.
    for (std::size_t i = size ? 2 : 0; i < kInputFields.size(); ++i) {
        if (auto why = Dimension(row, columns.inputs[i], kInputFields[i], fields)) return why;
    }
    if (const auto failure = Calculate(fields)) {
        return RowFailure{.fault = RowFault::Calculation, .failure = *failure};
    }
    return std::nullopt;
}

void Conversion::Fail(const RowFailure& failure) {
    if (!m_results.failure) m_results.failure = failure.fault;
    const std::string message = RowFailureMessage(failure);
    // Two balls of a tube may be looked for in the same range: it is said once.
    if (m_explanation.find(message) == std::string::npos) m_explanation += message;
}

bool Conversion::Compute(const TableRow& row) {
    const std::size_t width = m_results.column;
    if (row.cells.size() < width && !m_missingCellsAreEmpty) {
        Fail({.fault = RowFault::MissingCells, .width = width, .cells = row.cells.size()});
        return false;
    }
    const auto failure = CalculateTube(row, *m_columns, m_fields);
    if (failure) Fail(*failure);
    return !failure;
}

const KitBall* Conversion::ChooseFromKit(std::string_view text, double inner) {
    const auto ball = FieldValue(text);
    if (!ball) return nullptr;  // the calculation wrote it
    const KitBall* chosen = m_options.kit->Choose(*ball, inner, m_options.maxOver);
    if (chosen == nullptr) {
        const double below =
            m_options.maxOver ? std::min(inner, *ball + *m_options.maxOver) : inner;
        Fail({.fault = RowFault::NoKitBall, .from = *ball, .below = below});
    }
    return chosen;
}

std::optional<TableError> Conversion::Row(const TableRow& row) {
    m_explanation.clear();
    m_results.failure.reset();
    const bool computed = Compute(row);
    std::optional<FieldName> kind;
    if (m_columns->kind) {
        // The bench needs the one ball: a row that does not say which kind it is fails.
        kind = ReadTubeKind(CellAt(row.cells, *m_columns->kind));
        if (computed && !kind) Fail({.fault = RowFault::BadKind});
    }
    const bool balls = computed && (!m_columns->kind || kind);
    const KitBall* chosen = nullptr;
    std::string_view chosenFor;  // the ball `chosen` is for: the kinds' balls are often the same
    bool noKitBall = false;
    const auto inner = balls && m_options.kit != nullptr
                           ? FieldValue(m_fields.Get(FieldName::Text11))
                           : CheckedValue(0.0);
    for (std::size_t i = 0; i + 1 < m_results.count; ++i) {
        std::string_view& text = m_results.texts[i];
        switch (m_results.roles[i]) {
            case ResultRole::Result:
            case ResultRole::Ratio:
                text = computed ? std::string_view(m_fields.Get(*m_sources[i])) : "";
                break;
            case ResultRole::Ball:
                text = balls ? std::string_view(m_fields.Get(m_sources[i].value_or(*kind))) : "";
                break;
            case ResultRole::KitNumber:
                if (!balls || !inner) {
                    chosen = nullptr;
                } else if (m_results.texts[i - 1] != chosenFor) {
                    chosenFor = m_results.texts[i - 1];
                    chosen = ChooseFromKit(chosenFor, *inner);
                    noKitBall = noKitBall || chosen == nullptr;
                }
                text = chosen != nullptr ? std::string_view(chosen->number) : "";
                break;
            case ResultRole::KitDiameter:
                text = chosen != nullptr ? std::string_view(chosen->diameterText) : "";
                break;
            case ResultRole::Explanation:
                break;
        }
    }
    m_results.texts[m_results.count - 1] = m_explanation;
    m_results.withBalls = balls;
    if (++m_summary.rows % kProgressRows == 0 && m_options.progress) {
        m_options.progress(m_summary.rows);
    }
    if (noKitBall) {
        ++m_summary.rowsWithoutKitBall;
    } else if (!m_explanation.empty() && m_summary.failedRows++ == 0) {
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
