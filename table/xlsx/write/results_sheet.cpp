#include <xlsxwriter.h>

#include <algorithm>

#include "xlsx/write/print_layout.h"
#include "xlsx/write/sheet_writer.h"

namespace tongqiu::table {
namespace {

constexpr double kExplanationWidth = 30;

// The width of a result column, in characters: as wide as its numbers ("0.000000" for R/Dw,
// "123.45" for the others), the headings wrapping; 说明 as wide as two or three of them, a longer
// message wrapping in it.
double ResultWidth(std::size_t index, const RowResults& results) {
    switch (results.roles[index]) {
        case ResultRole::Explanation:
            return kExplanationWidth;
        case ResultRole::Ratio:
            return 10;
        case ResultRole::KitNumber:
            return 8;
        case ResultRole::Result:
        case ResultRole::Ball:
        case ResultRole::KitDiameter:
            break;
    }
    return 9;
}

// The header's height, in points: enough lines for its longest heading.
double HeaderHeight(const TableRow& row, std::size_t own, const RowResults& results) {
    int lines = 1;
    for (std::size_t i = 0; i < own; ++i) {
        lines = std::max(lines, WrappedLines(row.cells[i], LXW_DEF_COL_WIDTH));
    }
    for (std::size_t i = 0; i < results.count; ++i) {
        lines = std::max(lines, WrappedLines(results.texts[i], ResultWidth(i, results)));
    }
    return HeadingRowHeight(lines);
}

}  // namespace

ResultsSheet::ResultsSheet(WorkbookFile& book, lxw_worksheet* sheet)
    : SheetWriter(book, sheet),
      m_wrapped(book.Style([](lxw_format* style) { format_set_text_wrap(style); })),
      m_sixPlaces(book.NumberStyle("0.000000")) {
    m_startFailure = Failed(SetUpPrinting(m_sheet));
}

std::optional<TableError> ResultsSheet::Result(std::size_t column, std::size_t index,
                                               const RowResults& results) {
    const std::string_view text = results.texts[index];
    switch (results.roles[index]) {
        case ResultRole::Explanation:
            return Cell(m_row, column, text, &kText, m_wrapped);
        case ResultRole::KitNumber:  // as the kit has it, a number where it looks like one
            return Cell(m_row, column, text, nullptr, nullptr);
        case ResultRole::Ratio:
            return Number(m_row, column, text, m_sixPlaces);
        case ResultRole::Result:
        case ResultRole::Ball:
        case ResultRole::KitDiameter:
            break;
    }
    return Number(m_row, column, text, m_twoPlaces);
}

std::optional<TableError> ResultsSheet::Write(const TableRow& row, const RowResults* results) {
    m_line = row.line;
    if (m_startFailure) return m_startFailure;
    lxw_format* style = results != nullptr && results->heading ? m_heading : nullptr;
    const std::size_t own =
        results == nullptr ? row.cells.size() : std::min(row.cells.size(), results->column);
    const auto cell = [&](std::size_t i, std::size_t column) {
        return Cell(m_row, column, row.cells[i], row.values.empty() ? nullptr : &row.values[i],
                    style);
    };
    // Before its cells: a row written is gone from memory.
    int height = LXW_NO_ERROR;
    if (results != nullptr && results->heading) {
        height = worksheet_set_row(m_sheet, m_row, HeaderHeight(row, own, *results), nullptr);
    } else if (results != nullptr) {
        const int lines = WrappedLines(results->Texts().back(), kExplanationWidth);
        if (lines > 1) height = worksheet_set_row(m_sheet, m_row, kLineHeight * lines, nullptr);
    }
    if (auto error = Failed(height)) return error;
    for (std::size_t i = 0; i < own; ++i) {
        if (auto error = cell(i, i)) return error;
    }
    if (results != nullptr) {
        for (std::size_t i = 0; i < results->count; ++i) {
            const std::size_t column = results->column + i;
            auto error = results->heading
                             ? Cell(m_row, column, results->texts[i], &kText, m_heading)
                             : Result(column, i, *results);
            if (error) return error;
        }
        for (std::size_t i = results->column; i < row.cells.size(); ++i) {
            if (auto error = cell(i, i + results->count)) return error;
        }
        if (results->heading && !m_widthsSet) {
            m_widthsSet = true;
            for (std::size_t i = 0; i < results->count; ++i) {
                const auto column = static_cast<lxw_col_t>(results->column + i);
                auto error = Failed(worksheet_set_column(m_sheet, column, column,
                                                         ResultWidth(i, *results), nullptr));
                if (error) return error;
            }
            worksheet_freeze_panes(m_sheet, m_row + 1, 0);
            // The header, and what stands above it, on every page.
            if (auto error = Failed(worksheet_repeat_rows(m_sheet, 0, m_row))) return error;
        }
    }
    ++m_row;
    return std::nullopt;
}

}  // namespace tongqiu::table
