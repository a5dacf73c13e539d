#include "xlsx/read/sheet_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

#include "tongqiu/float_chars.h"
#include "xlsx/format/shown_number.h"

namespace tongqiu::table {
namespace {

constexpr long kMaxRows = 1'048'576;         // Excel's
constexpr std::size_t kMaxColumns = 16'384;  // A to XFD
// The texts of one row together: far beyond a tube list's row, and a bound on what a row of
// cells naming one long shared string copies.
constexpr std::size_t kMaxRowBytes = std::size_t{1} << 20;

// A number as spreadsheets store it: digits with an optional minus, point and exponent, within a
// double's range. Anything else ("inf", "nan", "--40", "0x10", nothing) is no number.
std::optional<double> StoredNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    const bool digitFirst =
        !text.empty() && ((text[0] >= '0' && text[0] <= '9') ||
                          (text.size() > 1 && text[0] == '.' && text[1] >= '0' && text[1] <= '9'));
    if (!digitFirst) return std::nullopt;
    double number = 0;
    const char* end = text.data() + text.size();
    const auto read = ReadDouble(text.data(), end, number);
    if (read.ec != std::errc{} || read.ptr != end || !std::isfinite(number)) return std::nullopt;
    return negative ? -number : number;
}

// The column of a cell reference ("B7" is 1), or `fallback` without letters.
std::size_t Column(std::string_view reference, std::size_t fallback) {
    std::size_t column = 0;
    std::size_t letters = 0;
    for (; letters < reference.size(); ++letters) {
        const char c = reference[letters];
        if (c < 'A' || c > 'Z') break;
        if (letters == 3) return kMaxColumns;  // four letters: beyond XFD
        column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
    }
    return letters == 0 ? fallback : column - 1;
}

std::string FormatName(const NumberFormat& format) {
    return format.code.empty() ? "内置格式 " + std::to_string(format.id) : format.code;
}

// Where the reading of a sheet is: between rows, in a row, or in the value of a row's cell.
enum class Place : std::uint8_t { BetweenRows, InRow, InValue };

class SheetHandler : public XmlHandler {
public:
    SheetHandler(const RowSink& sink, ZipArchive& archive, const SharedStrings& sharedStrings,
                 const std::vector<const NumberFormat*>& styleFormats,
                 std::set<std::string>& unknown)
        : m_sink(sink),
          m_archive(archive),
          m_sharedStrings(sharedStrings),
          m_styleFormats(styleFormats),
          m_unknown(unknown) {
        m_row.ending = "\r\n";  // for CSV, as Excel writes it
    }

    void Start(std::string_view name, const char** attributes) override {
        if (name == "row") {
            StartRow(Number(Attribute(attributes, "r"), m_row.line + 1));
        } else if (name == "c") {
            if (m_place == Place::BetweenRows) return;  // a cell outside a row is no row's
            m_column = Column(Attribute(attributes, "r"), m_row.cells.size());
            m_type = Attribute(attributes, "t");
            // A cell without a style has the first, the workbook's default ("Normal").
            const long style = Number(Attribute(attributes, "s"), 0);
            m_format = style >= 0 && static_cast<std::size_t>(style) < m_styleFormats.size()
                           ? m_styleFormats[static_cast<std::size_t>(style)]
                           : nullptr;
            m_value.Clear();
            m_text.m_text.Clear();
            if (m_column >= kMaxColumns) error = TableError{TableFault::TooManyColumns, m_row.line};
        } else if (name == "v" && m_place == Place::InRow) {
            m_place = Place::InValue;
        } else {
            m_text.Start(name);
        }
    }

    void End(std::string_view name) override {
        if (name == "v" && m_place == Place::InValue) {
            m_place = Place::InRow;
        } else if (name == "c" && m_place == Place::InRow) {
            EndCell();
        } else if (name == "row" && m_place == Place::InRow) {
            EndRow();
        } else {
            m_text.End(name);
        }
    }

    void Text(std::string_view text) override {
        if (m_place == Place::InValue ? !m_value.Append(text) : !m_text.Take(text)) {
            error = TableError{TableFault::CellTextTooLong, m_row.line};
        }
    }

private:
    void StartRow(long line) {
        if (m_place != Place::BetweenRows || line <= m_row.line || line > kMaxRows) {
            error = TableError{TableFault::BadRowNumber, m_row.line + 1};
            return;
        }
        m_place = Place::InRow;
        m_rowBytes = 0;
        m_row.cells.clear();
        m_row.values.clear();
        while (!error && !enough && ++m_row.line < line) error = m_sink(m_row);  // skipped rows
    }

    void EndCell() {
        std::string text;
        CellValue value;
        if (m_type == "s") {
            const auto index = static_cast<std::size_t>(Number(m_value.Text(), -1));
            if (index >= m_sharedStrings.Size()) {
                error = TableError{TableFault::BadSharedString, m_row.line};
                return;
            }
            text = m_sharedStrings[index];  // this row's copy
            if (!m_archive.Charge(text.size())) {
                error = TableError{TableFault::SharedStringsCopiedTooOften, m_row.line};
                return;
            }
        } else if (m_type == "inlineStr") {
            text = m_text.m_text.Take();
        } else if (m_type == "b") {
            text = m_value.Text() == "1" ? "TRUE" : "FALSE";
        } else if (m_type.empty() || m_type == "n") {
            if (const auto number = StoredNumber(m_value.Text())) {
                value = {CellValue::Kind::Number, *number, m_format};
                bool known = true;
                text = ShownNumber(value.number, m_format, known);
                if (!known) m_unknown.insert(FormatName(*m_format));
            } else {
                text = m_value.Text();
            }
        } else {  // "str" (a formula's text), "e" (an error such as #N/A), "d" (an ISO date)
            text = m_value.Text();
        }
        m_rowBytes += text.size();
        if (m_rowBytes > kMaxRowBytes) {
            error = TableError{TableFault::RowTooLong, m_row.line};
            return;
        }
        if (m_row.cells.size() <= m_column) {
            m_row.cells.resize(m_column + 1);
            m_row.values.resize(m_column + 1);
        }
        m_row.cells[m_column] = std::move(text);
        m_row.values[m_column] = value;
    }

    void EndRow() {
        if (std::all_of(m_row.cells.begin(), m_row.cells.end(),
                        [](const std::string& cell) { return cell.empty(); })) {
            m_row.cells.clear();  // only formatting: an empty row
            m_row.values.clear();
        }
        if (!enough) error = m_sink(m_row);
        m_row.cells.clear();
        m_row.values.clear();
        m_place = Place::BetweenRows;
    }

    const RowSink& m_sink;
    ZipArchive& m_archive;
    const SharedStrings& m_sharedStrings;
    const std::vector<const NumberFormat*>& m_styleFormats;
    std::set<std::string>& m_unknown;
    TableRow m_row;
    std::size_t m_rowBytes = 0;
    std::size_t m_column = 0;
    std::string m_type;
    const NumberFormat* m_format = nullptr;
    CellText m_value;
    Place m_place = Place::BetweenRows;
    RichText m_text;
};

}  // namespace

std::unique_ptr<XmlHandler> SheetReader(const RowSink& sink, ZipArchive& archive,
                                        const SharedStrings& sharedStrings,
                                        const std::vector<const NumberFormat*>& styleFormats,
                                        std::set<std::string>& unknown) {
    return std::make_unique<SheetHandler>(sink, archive, sharedStrings, styleFormats, unknown);
}

}  // namespace tongqiu::table
