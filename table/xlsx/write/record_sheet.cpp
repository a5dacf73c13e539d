// The 通球记录 as a workbook's second sheet, written row by row beside the results; what it holds
// is in record.h.
#include <xlsxwriter.h>

#include <array>
#include <string>

#include "record.h"
#include "xlsx/write/print_layout.h"
#include "xlsx/write/sheet_writer.h"

namespace tongqiu::table {
namespace {

// The widths of 序号, a ball, and the columns filled in, in characters.
constexpr double kNumberWidth = 6;
constexpr double kBallWidth = 9;
constexpr double kKindWidth = 17;  // "有弯头无拼接焊缝"
constexpr std::array<double, kRecordFillIn.size()> kFillInWidths{8, 8, 10, 12};

}  // namespace

RecordSheet::RecordSheet(WorkbookFile& book, lxw_worksheet* sheet, const WriterRequest& request)
    : SheetWriter(book, sheet) {
    lxw_format* title = book.Style([](lxw_format* style) {
        format_set_bold(style);
        format_set_font_size(style, 16);
    });
    for (const int error :
         {SetUpPrinting(m_sheet), int(worksheet_set_row(m_sheet, 0, 24, nullptr)),
          int(worksheet_write_string(m_sheet, 0, 0, std::string(kRecordTitle).c_str(), title)),
          int(worksheet_write_string(m_sheet, 1, 0, RecordSource(request).c_str(), nullptr))}) {
        if (!m_startFailure) m_startFailure = Failed(error);
    }
    m_row = 2;
}

std::optional<TableError> RecordSheet::Write(const TableRow& row, const RowResults* results) {
    m_line = row.line;
    if (m_startFailure) return m_startFailure;
    if (results != nullptr) return results->heading ? Header(row, *results) : Tube(row, *results);
    if (m_header) return std::nullopt;  // an empty row among the tubes
    // A row above the header (an order number, a date), as it was.
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (auto error = Cell(m_row, i + 1, row.cells[i],
                              row.values.empty() ? nullptr : &row.values[i], nullptr)) {
            return error;
        }
    }
    ++m_row;
    return std::nullopt;
}

std::optional<TableError> RecordSheet::Header(const TableRow& row, const RowResults& results) {
    m_header = true;
    const std::vector<std::string> headings = RecordHeadings(row, results);
    m_balls = RecordBallResults(results);
    const std::size_t fillIn = results.column + 1 + m_balls.size();
    // 结果, the one column filled in with a choice of two.
    m_resultColumn = headings.size() - kRecordFillIn.size() + 1;
    int lines = 1;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const bool kind = results.kindColumn && i == *results.kindColumn + 1;
        const bool kitNumber =
            i > results.column && i < fillIn &&
            results.roles[m_balls[i - results.column - 1]] == ResultRole::KitNumber;
        const double width = i == 0                ? kNumberWidth
                             : kind                ? kKindWidth
                             : i <= results.column ? LXW_DEF_COL_WIDTH
                             : kitNumber           ? kFillInWidths[0]
                             : i < fillIn
                                 ? kBallWidth
                                 : kFillInWidths[i + kRecordFillIn.size() - headings.size()];
        lines = std::max(lines, WrappedLines(headings[i], width));
        const auto column = static_cast<lxw_col_t>(i);
        if (i == 0 || kind || i > results.column) {
            auto error = Failed(worksheet_set_column(m_sheet, column, column, width, nullptr));
            if (error) return error;
        }
    }
    if (auto error = Failed(worksheet_set_row(m_sheet, m_row, HeadingRowHeight(lines), nullptr))) {
        return error;
    }
    for (std::size_t i = 0; i < headings.size(); ++i) {
        if (auto error = Cell(m_row, i, headings[i], &kText, m_heading)) return error;
    }
    if (auto error = Failed(worksheet_repeat_rows(m_sheet, 0, m_row))) return error;
    worksheet_freeze_panes(m_sheet, m_row + 1, 0);
    m_firstTube = ++m_row;
    return std::nullopt;
}

// The tube's own cells keep their kind and format; its balls are numbers as in the results, the
// kit's 球号 as the kit has it.
std::optional<TableError> RecordSheet::Tube(const TableRow& row, const RowResults& results) {
    const auto at = m_row++;
    const auto number = static_cast<double>(++m_tubes);
    if (auto error = Failed(worksheet_write_number(m_sheet, at, 0, number, nullptr))) return error;
    for (std::size_t i = 0; i < std::min(row.cells.size(), results.column); ++i) {
        if (auto error = Cell(at, i + 1, row.cells[i],
                              row.values.empty() ? nullptr : &row.values[i], nullptr)) {
            return error;
        }
    }
    const std::size_t first = results.column + 1;
    if (!results.withBalls) return Cell(at, first, results.Texts().back(), &kText, nullptr);
    for (std::size_t i = 0; i < m_balls.size(); ++i) {
        const std::string_view text = results.texts[m_balls[i]];
        auto error = results.roles[m_balls[i]] == ResultRole::KitNumber
                         ? Cell(at, first + i, text, nullptr, nullptr)
                         : Number(at, first + i, text, m_twoPlaces);
        if (error) return error;
    }
    return std::nullopt;
}

std::optional<TableError> RecordSheet::Finish() {
    if (m_tubes > 0) {
        // 结果 takes 合格 or 不合格 and nothing else. libxlsxwriter takes texts it may not change
        // as char*, and copies them.
        static std::string pass(kRecordResults[0]);
        static std::string fail(kRecordResults[1]);
        static char* results[] = {pass.data(), fail.data(), nullptr};
        static char title[] = "结果";
        static char message[] = "请选择“合格”或“不合格”。";
        lxw_data_validation validation{};
        validation.validate = LXW_VALIDATION_TYPE_LIST;
        validation.value_list = results;
        validation.error_title = title;
        validation.error_message = message;
        const auto column = static_cast<lxw_col_t>(m_resultColumn);
        const lxw_row_t last = m_firstTube + static_cast<lxw_row_t>(m_tubes) - 1;
        auto error = Failed(worksheet_data_validation_range(m_sheet, m_firstTube, column, last,
                                                            column, &validation));
        if (error) return error;
    }
    m_row += 1;
    for (const std::string& line : RecordSignatures()) {
        if (auto error = Failed(worksheet_set_row(m_sheet, m_row, 24, nullptr))) return error;
        if (auto error = Cell(m_row++, 0, line, &kText, nullptr)) return error;
    }
    return std::nullopt;
}

}  // namespace tongqiu::table
