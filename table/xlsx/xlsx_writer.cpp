#include "xlsx/xlsx_writer.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>

#include "tongqiu/float_chars.h"
#include "xlsx/print_layout.h"

namespace tongqiu::table {
namespace {

constexpr std::size_t kSignificantDigits = 15;

// The number a CSV cell holds when it is a plain decimal ("38", "-4.50"; not "007", "1e3" or
// "３８"), and its places, so that it shows as it did.
std::optional<std::pair<double, int>> PlainDecimal(std::string_view text) {
    const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
    const auto point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const std::string_view places =
        point == std::string_view::npos ? std::string_view{} : digits.substr(point + 1);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (whole.empty() || (whole.size() > 1 && whole[0] == '0') ||
        (point != std::string_view::npos && places.empty()) ||
        whole.size() + places.size() > kSignificantDigits ||
        !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(places.begin(), places.end(), isDigit)) {
        return std::nullopt;
    }
    double value = 0;
    ReadDouble(digits.data(), digits.data() + digits.size(), value);
    return std::pair{text.starts_with('-') ? -value : value, static_cast<int>(places.size())};
}

constexpr double kExplanationWidth = 30;

// Whether a result is written with six places (R/Dw); 选用通球, after the result columns, is a
// ball.
bool SixPlaces(std::size_t index) {
    return index < kResultColumns.size() && kResultColumns[index].pattern == Pattern::SixPlaces;
}

// The width of a result column, in characters: as wide as its numbers ("0.000000" for R/Dw,
// "123.45" for the others), the headings wrapping; 说明 as wide as two or three of them, a longer
// message wrapping in it.
double ResultWidth(std::size_t index, const RowResults& results) {
    if (index + 1 == results.count) return kExplanationWidth;
    return SixPlaces(index) ? 10 : 9;
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

// libxlsxwriter takes file names in UTF-8, on Windows too.
std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

TableError WorkbookWriteFailed(long line, int error) {
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE) {
        return TableError{TableFault::OutputSheetFull, line};
    }
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED) {
        return TableError{TableFault::OutputCellTooLong, line};
    }
    return TableError{TableFault::OutputWorkbookFailed, line,
                      lxw_strerror(static_cast<lxw_error>(error))};
}

XlsxWriter::XlsxWriter(const std::filesystem::path& path, const WriterRequest& request) {
    // Its temporary files go beside the output, where writing is allowed (Windows would put them
    // at the root of the system drive).
    std::string folder = path.parent_path().empty() ? "." : Utf8(path.parent_path());
    lxw_workbook_options options{LXW_TRUE, folder.data(), LXW_FALSE};
    m_workbook = workbook_new_opt(Utf8(path).c_str(), &options);
    if (m_workbook == nullptr) return;
    m_sheet = workbook_add_worksheet(m_workbook, request.sheet.c_str());
    if (m_sheet == nullptr) m_sheet = workbook_add_worksheet(m_workbook, nullptr);
    SetUpPrinting(m_sheet);
    // Headings wrap rather than being cut where a column is narrower than they are.
    m_bold = workbook_add_format(m_workbook);
    format_set_bold(m_bold);
    format_set_text_wrap(m_bold);
    format_set_align(m_bold, LXW_ALIGN_VERTICAL_CENTER);
    m_wrapped = workbook_add_format(m_workbook);
    format_set_text_wrap(m_wrapped);
    // The results' two formats, through the one format cache (a CSV's "3.50" shares the first).
    m_twoPlaces = Format(0, "0.00");
    m_sixPlaces = Format(0, "0.000000");
    StartRecord(request);
}

XlsxWriter::~XlsxWriter() { (void)Close(); }

// The formats of numbers as cells are written, each looked up once: a workbook's by the format
// read, a CSV's decimals by their places.
lxw_format* XlsxWriter::FormatOf(const NumberFormat* format) {
    auto [found, added] = m_formatOf.try_emplace(format, nullptr);
    if (added) found->second = Format(format->id, format->code);
    return found->second;
}

lxw_format* XlsxWriter::PlacesFormat(int places) {
    auto& format = m_placesFormats.at(static_cast<std::size_t>(places));
    if (format == nullptr && places > 0) format = Format(0, "0." + std::string(places, '0'));
    return format;
}

lxw_format* XlsxWriter::Format(int id, const std::string& code) {
    // The formats that spreadsheets know by number are written by number.
    const bool builtIn = id > 0 && id < 164;
    if (!builtIn && (code.empty() || code == "General")) return nullptr;
    std::string key = builtIn ? std::string("#") : code;
    if (builtIn) key += std::to_string(id);
    auto [found, added] = m_formats.try_emplace(key, nullptr);
    if (added) {
        found->second = workbook_add_format(m_workbook);
        if (builtIn) {
            format_set_num_format_index(found->second, static_cast<std::uint8_t>(id));
        } else {
            format_set_num_format(found->second, code.c_str());
        }
    }
    return found->second;
}

std::optional<TableError> XlsxWriter::Cell(lxw_worksheet* sheet, std::uint32_t row,
                                           std::size_t column, std::string_view text,
                                           const CellValue* value, lxw_format* style) {
    const auto col = static_cast<lxw_col_t>(std::min<std::size_t>(column, LXW_COL_MAX));
    lxw_error error = LXW_NO_ERROR;
    if (value != nullptr && value->kind == CellValue::Kind::Number) {
        const NumberFormat* format = value->format;
        error = worksheet_write_number(
            sheet, row, col, value->number,
            style != nullptr || format == nullptr ? style : FormatOf(format));
    } else if (text.empty()) {
        return std::nullopt;
    } else if (const auto plain = value == nullptr ? PlainDecimal(text) : std::nullopt) {
        error = worksheet_write_number(sheet, row, col, plain->first,
                                       style != nullptr ? style : PlacesFormat(plain->second));
    } else {
        error = worksheet_write_string(sheet, row, col, std::string(text).c_str(), style);
    }
    if (error != LXW_NO_ERROR) return WorkbookWriteFailed(m_line, error);
    return std::nullopt;
}

std::optional<TableError> XlsxWriter::Number(lxw_worksheet* sheet, std::uint32_t row,
                                             std::size_t column, std::string_view text,
                                             lxw_format* style) {
    double number = 0;
    if (text.empty() ||
        ReadDouble(text.data(), text.data() + text.size(), number).ec != std::errc{}) {
        return Cell(sheet, row, column, text, &kText, nullptr);
    }
    const auto error =
        worksheet_write_number(sheet, row, static_cast<lxw_col_t>(column), number, style);
    if (error != LXW_NO_ERROR) return WorkbookWriteFailed(m_line, error);
    return std::nullopt;
}

std::optional<TableError> XlsxWriter::Result(std::size_t column, std::size_t index,
                                             const RowResults& results) {
    const std::string_view text = results.texts[index];
    if (index + 1 == results.count) return Cell(m_sheet, m_row, column, text, &kText, m_wrapped);
    return Number(m_sheet, m_row, column, text, SixPlaces(index) ? m_sixPlaces : m_twoPlaces);
}

std::optional<TableError> XlsxWriter::Write(const TableRow& row, const RowResults* results) {
    if (m_sheet == nullptr) return TableError{TableFault::OutputFailed};
    m_line = row.line;
    lxw_format* style = results != nullptr && results->heading ? m_bold : nullptr;
    const std::size_t own =
        results == nullptr ? row.cells.size() : std::min(row.cells.size(), results->column);
    const auto cell = [&](std::size_t i, std::size_t column) {
        return Cell(m_sheet, m_row, column, row.cells[i],
                    row.values.empty() ? nullptr : &row.values[i], style);
    };
    // Before its cells: a row written is gone from memory.
    if (results != nullptr && results->heading) {
        worksheet_set_row(m_sheet, m_row, HeaderHeight(row, own, *results), nullptr);
    } else if (results != nullptr) {
        const int lines = WrappedLines(results->Texts().back(), kExplanationWidth);
        if (lines > 1) worksheet_set_row(m_sheet, m_row, kLineHeight * lines, nullptr);
    }
    for (std::size_t i = 0; i < own; ++i) {
        if (auto error = cell(i, i)) return error;
    }
    if (results != nullptr) {
        for (std::size_t i = 0; i < results->count; ++i) {
            const std::size_t column = results->column + i;
            auto error = results->heading
                             ? Cell(m_sheet, m_row, column, results->texts[i], &kText, m_bold)
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
                worksheet_set_column(m_sheet, column, column, ResultWidth(i, *results), nullptr);
            }
            worksheet_freeze_panes(m_sheet, m_row + 1, 0);
            worksheet_repeat_rows(m_sheet, 0, m_row);  // the header, and what stands above it
        }
    }
    ++m_row;
    return Record(row, results);
}

std::optional<TableError> XlsxWriter::Finish() {
    if (m_workbook == nullptr) return TableError{TableFault::OutputFailed};
    if (auto error = FinishRecord()) return error;
    return Close();
}

std::optional<TableError> XlsxWriter::Close() {
    if (m_workbook == nullptr) return std::nullopt;
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    if (error != LXW_NO_ERROR) return WorkbookWriteFailed(0, error);
    return std::nullopt;
}

}  // namespace tongqiu::table
