#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "input_columns.h"
#include "table_input.h"
#include "tongqiu/expected.h"
#include "tongqiu/field_set.h"
#include "tongqiu/table/ball_kit.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_writer.h"

namespace tongqiu::table {

// Reads a tube's dimensions from its row, in the columns given, into `fields` and calculates; why
// it cannot, if it cannot.
std::optional<RowFailure> CalculateTube(const TableRow& row, const InputColumns& columns,
                                        FieldSet& fields);

// Turns rows as read into rows as written, one at a time.
class Conversion {
public:
    // In a workbook, cells missing at the end of a row are empty ones; in CSV, a short row is
    // refused, since a lost separator would shift the cells after it.
    // The options give the progress to tell and the kit to choose balls from.
    Conversion(TableWriter& writer, bool missingCellsAreEmpty, const TableOptions& options)
        : m_writer(writer), m_missingCellsAreEmpty(missingCellsAreEmpty), m_options(options) {}

    std::optional<TableError> Take(const TableRow& row) {
        if (row.cells.empty()) return m_writer.Write(row, nullptr);  // an empty row stays empty
        if (!m_columns) return Header(row);
        return Row(row);
    }

    // Why no header was found, once the table has ended without one.
    [[nodiscard]] std::optional<TableError> MissingHeader() const {
        if (m_columns) return std::nullopt;
        return m_firstNonHeader.value_or(TableError{TableFault::Empty});
    }
    [[nodiscard]] const TableSummary& Summary() const { return m_summary; }

private:
    // The header is the first row near the top that names the three input columns; the rows above
    // it (a title, an order number, a date) are kept as they are. When none does, what is wrong
    // with the first row is what the user hears, as for a table that starts with its header.
    std::optional<TableError> Header(const TableRow& row);
    std::optional<TableError> Row(const TableRow& row);
    // Reads the row's inputs and calculates; false, with the explanation, when it cannot.
    bool Compute(const TableRow& row);
    // Says why in the row's explanation, once; the row's first failure is its kind.
    void Fail(const RowFailure& failure);
    // The kit's ball for the ball in `text` in a tube of `inner` inner diameter, or none, said
    // in the explanation.
    const KitBall* ChooseFromKit(std::string_view text, double inner);

    TableWriter& m_writer;
    bool m_missingCellsAreEmpty;
    const TableOptions& m_options;
    std::optional<InputColumns> m_columns;  // known once the header is read
    int m_rowsAboveHeader = 0;
    std::optional<TableError> m_firstNonHeader;
    RowResults m_results;
    // The field each result shows; none for 选用通球 (the kind's) and for the kit's columns.
    std::array<std::optional<FieldName>, kMostResultTexts> m_sources{};
    FieldSet m_fields;
    std::string m_explanation;
    TableSummary m_summary;
};

// The summary, or the first error: the reading's, the header's, then the writing's.
Expected<TableSummary, TableError> Finished(const std::optional<TableError>& readError,
                                            const Conversion& conversion, TableWriter& writer);

}  // namespace tongqiu::table
