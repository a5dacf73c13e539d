#include "xlsx/write/sheet_writer.h"

#include <xlsxwriter.h>

#include <algorithm>

#include "tongqiu/float_chars.h"

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

}  // namespace

SheetWriter::SheetWriter(WorkbookFile& book, lxw_worksheet* sheet)
    : m_book(book),
      m_sheet(sheet),
      m_heading(book.HeadingStyle()),
      m_twoPlaces(book.NumberStyle("0.00")) {}

std::optional<TableError> SheetWriter::Failed(int error) const {
    if (error == LXW_NO_ERROR) return std::nullopt;
    return WorkbookWriteFailed(m_line, error);
}

std::optional<TableError> SheetWriter::Cell(std::uint32_t row, std::size_t column,
                                            std::string_view text, const CellValue* value,
                                            lxw_format* style) {
    const auto col = static_cast<lxw_col_t>(std::min<std::size_t>(column, LXW_COL_MAX));
    if (value != nullptr && value->kind == CellValue::Kind::Number) {
        const NumberFormat* format = value->format;
        return Failed(worksheet_write_number(
            m_sheet, row, col, value->number,
            style != nullptr || format == nullptr ? style : m_book.StyleOf(format)));
    }
    if (text.empty()) return std::nullopt;
    if (const auto plain = value == nullptr ? PlainDecimal(text) : std::nullopt) {
        return Failed(
            worksheet_write_number(m_sheet, row, col, plain->first,
                                   style != nullptr ? style : m_book.PlacesStyle(plain->second)));
    }
    return Failed(worksheet_write_string(m_sheet, row, col, std::string(text).c_str(), style));
}

std::optional<TableError> SheetWriter::Number(std::uint32_t row, std::size_t column,
                                              std::string_view text, lxw_format* style) {
    double number = 0;
    if (text.empty() ||
        ReadDouble(text.data(), text.data() + text.size(), number).ec != std::errc{}) {
        return Cell(row, column, text, &kText, nullptr);
    }
    return Failed(
        worksheet_write_number(m_sheet, row, static_cast<lxw_col_t>(column), number, style));
}

}  // namespace tongqiu::table
