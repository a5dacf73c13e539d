// The 通球记录: a second sheet made for the test bench and the quality file. At the top its title,
// what it was made from and the table's own rows above its header; then a row for each tube with
// its own cells, the ball to use (or why there is none) and the columns the inspector fills in;
// at the bottom the lines to sign.
#include <xlsxwriter.h>

#include <array>
#include <string>

#include "tongqiu/result_columns.h"
#include "xlsx/print_layout.h"
#include "xlsx/xlsx_writer.h"

namespace tongqiu::table {
namespace {

const CellValue kText{};

constexpr std::string_view kRecordSheet = "通球记录";
// What the inspector fills in, with each column's width.
constexpr std::array<std::pair<std::string_view, double>, 4> kFillIn{
    {{"球号", 8}, {"结果", 8}, {"检验员", 10}, {"日期", 12}}};
constexpr double kBallWidth = 9;

// The balls of a row: 选用通球 where the table names each tube's kind, else the three.
std::size_t FirstBall(const RowResults& results) {
    return results.count == kMostResultTexts ? kResultColumns.size() : kResultColumns.size() - 3;
}

}  // namespace

void XlsxWriter::StartRecord(const WriterRequest& request) {
    const std::string name(request.sheet == kRecordSheet ? "通球记录 (2)" : kRecordSheet);
    m_record = workbook_add_worksheet(m_workbook, name.c_str());
    if (m_record == nullptr) return;
    SetUpPrinting(m_record);
    m_title = workbook_add_format(m_workbook);
    format_set_bold(m_title);
    format_set_font_size(m_title, 16);
    worksheet_set_row(m_record, 0, 24, nullptr);
    worksheet_write_string(m_record, 0, 0, "通球试验记录", m_title);
    std::string source = "文件：" + request.inputName;
    if (!request.inputSheet.empty()) source += "　工作表：" + request.inputSheet;
    worksheet_write_string(m_record, 1, 0, source.c_str(), nullptr);
    m_recordRow = 2;
}

std::optional<TableError> XlsxWriter::Record(const TableRow& row, const RowResults* results) {
    if (m_record == nullptr) return TableError{TableFault::OutputFailed};
    if (results != nullptr) {
        return results->heading ? RecordHeader(row, *results) : RecordTube(row, *results);
    }
    if (m_recordHeader) return std::nullopt;  // an empty row among the tubes
    // A row above the header (an order number, a date), as it was.
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (auto error = Cell(m_record, m_recordRow, i + 1, row.cells[i],
                              row.values.empty() ? nullptr : &row.values[i], nullptr)) {
            return error;
        }
    }
    ++m_recordRow;
    return std::nullopt;
}

std::optional<TableError> XlsxWriter::RecordHeader(const TableRow& row, const RowResults& results) {
    m_recordHeader = true;
    const std::size_t own = std::min(row.cells.size(), results.column);
    std::vector<std::string_view> headings{"序号"};
    for (std::size_t i = 0; i < own; ++i) headings.push_back(row.cells[i]);
    headings.resize(results.column + 1);
    const std::size_t balls = results.count - 1 - FirstBall(results);
    for (std::size_t i = 0; i < balls; ++i)
        headings.push_back(results.texts[FirstBall(results) + i]);
    m_fillIn = headings.size();
    for (const auto& [heading, width] : kFillIn) headings.push_back(heading);

    int lines = 1;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const double width = i == 0         ? 6
                             : i <= own     ? LXW_DEF_COL_WIDTH
                             : i < m_fillIn ? kBallWidth
                                            : kFillIn[i - m_fillIn].second;
        lines = std::max(lines, WrappedLines(headings[i], width));
        const auto column = static_cast<lxw_col_t>(i);
        if (i == 0 || i > own) worksheet_set_column(m_record, column, column, width, nullptr);
    }
    worksheet_set_row(m_record, m_recordRow, kLineHeight * std::min(lines, 4), nullptr);
    for (std::size_t i = 0; i < headings.size(); ++i) {
        if (auto error = Cell(m_record, m_recordRow, i, headings[i], &kText, m_bold)) return error;
    }
    worksheet_repeat_rows(m_record, 0, m_recordRow);
    worksheet_freeze_panes(m_record, m_recordRow + 1, 0);
    m_firstTube = ++m_recordRow;
    return std::nullopt;
}

std::optional<TableError> XlsxWriter::RecordTube(const TableRow& row, const RowResults& results) {
    const auto at = m_recordRow++;
    const std::string number = std::to_string(++m_tubes);
    if (auto error = Number(m_record, at, 0, number, nullptr)) return error;
    for (std::size_t i = 0; i < std::min(row.cells.size(), results.column); ++i) {
        if (auto error = Cell(m_record, at, i + 1, row.cells[i],
                              row.values.empty() ? nullptr : &row.values[i], nullptr)) {
            return error;
        }
    }
    const std::string_view explanation = results.Texts().back();
    if (!explanation.empty())
        return Cell(m_record, at, results.column + 1, explanation, &kText, nullptr);
    for (std::size_t i = FirstBall(results); i + 1 < results.count; ++i) {
        const std::size_t column = results.column + 1 + i - FirstBall(results);
        if (auto error = Number(m_record, at, column, results.texts[i], m_twoPlaces)) return error;
    }
    return std::nullopt;
}

std::optional<TableError> XlsxWriter::FinishRecord() {
    if (m_record == nullptr) return TableError{TableFault::OutputFailed};
    if (m_tubes > 0) {
        // 结果 takes 合格 or 不合格 and nothing else. libxlsxwriter takes texts it may not change
        // as char*, and copies them.
        static char pass[] = "合格";
        static char fail[] = "不合格";
        static char* results[] = {pass, fail, nullptr};
        static char title[] = "结果";
        static char message[] = "请选择“合格”或“不合格”。";
        lxw_data_validation validation{};
        validation.validate = LXW_VALIDATION_TYPE_LIST;
        validation.value_list = results;
        validation.error_title = title;
        validation.error_message = message;
        const auto column = static_cast<lxw_col_t>(m_fillIn + 1);
        const lxw_row_t last = m_firstTube + static_cast<lxw_row_t>(m_tubes) - 1;
        if (worksheet_data_validation_range(m_record, m_firstTube, column, last, column,
                                            &validation) != LXW_NO_ERROR) {
            return TableError{TableFault::OutputFailed};
        }
    }
    m_recordRow += 1;
    for (const char* signer : {"检验员：", "审核：", "监检："}) {
        const std::string line =
            std::string(signer) + "＿＿＿＿＿＿＿＿　　日期：＿＿＿＿年＿＿月＿＿日";
        worksheet_set_row(m_record, m_recordRow, 24, nullptr);
        if (auto error = Cell(m_record, m_recordRow++, 0, line, &kText, nullptr)) return error;
    }
    return std::nullopt;
}

}  // namespace tongqiu::table
