#include "xlsx/read/sheet_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

#include "tongqiu/float_chars.h"

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

// Two digits, or more, of an ISO 8601 date's or time's field; none where there are none.
std::optional<int> Field(std::string_view& text, std::size_t digits, char separator) {
    if (separator != '\0') {
        if (!text.starts_with(separator)) return std::nullopt;
        text.remove_prefix(1);
    }
    int value = 0;
    const auto end = text.data() + std::min(digits, text.size());
    const auto read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc{} || read.ptr != end) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

// A date cell's ISO 8601 text ("2026-12-03", "2026-12-03T10:20:30.000Z") as the serial number a
// spreadsheet keeps; none where it is no such date.
std::optional<double> IsoDate(std::string_view text, bool date1904) {
    const auto year = Field(text, 4, '\0');
    const auto month = Field(text, 2, '-');
    const auto day = Field(text, 2, '-');
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
        return std::nullopt;
    }
    double seconds = 0;
    if (text.starts_with('T')) {
        text.remove_prefix(1);
        const auto hour = Field(text, 2, '\0');
        const auto minute = Field(text, 2, ':');
        const auto second = text.starts_with(':') ? Field(text, 2, ':') : std::optional(0);
        if (!hour || !minute || !second || *hour > 24 || *minute > 59 || *second > 60) {
            return std::nullopt;
        }
        seconds = *hour * 3600.0 + *minute * 60.0 + *second;
        if (text.starts_with('.')) {
            const auto digits = std::min(text.find_first_not_of("0123456789", 1), text.size());
            double fraction = 0;
            ReadDouble(text.data(), text.data() + digits, fraction);
            seconds += fraction;
            text.remove_prefix(digits);
        }
    }
    if (!text.empty() && text != "Z") return std::nullopt;
    return DateSerial(*year, *month, *day, date1904) + seconds / 86'400.0;
}

// How a date cell shows without a format of its own.
const ReadFormat& IsoDateFormat() {
    static const ReadFormat format = [] {
        ReadFormat iso;
        iso.format.code = "yyyy-mm-dd";
        iso.code = NumberFormatCode::Parse(iso.format.code);
        return iso;
    }();
    return format;
}

// Where the reading of a sheet is: between rows, in a row, or in the value of a row's cell.
enum class Place : std::uint8_t { BetweenRows, InRow, InValue };

class SheetHandler : public XmlHandler {
public:
    SheetHandler(const RowSink& sink, ZipArchive& archive, const SharedStrings& sharedStrings,
                 const SheetFormats& formats, std::set<std::string>& unknown)
        : m_sink(sink),
          m_archive(archive),
          m_sharedStrings(sharedStrings),
          m_formats(formats),
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
            m_format = style >= 0 && static_cast<std::size_t>(style) < m_formats.byStyle.size()
                           ? m_formats.byStyle[static_cast<std::size_t>(style)]
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
        } else if (m_type.empty() || m_type == "n" || m_type == "d") {
            const auto number = m_type == "d" ? IsoDate(m_value.Text(), m_formats.date1904)
                                              : StoredNumber(m_value.Text());
            if (number) {
                text = Shown(*number, value);
            } else {
                text = m_value.Text();
            }
        } else {  // "str" (a formula's text), "e" (an error such as #N/A)
            text = m_value.Text();
        }
        // A text in a format with a section for text ("@", an accounting format's fourth).
        if (value.kind == CellValue::Kind::Text && m_format != nullptr && m_format->code &&
            m_format->code->ShowsText() && m_type != "e" && m_type != "b") {
            text = m_format->code->ShowText(text);
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
        m_row.values[m_column] = std::move(value);
    }

    // A number as its cell's format shows it, and what `value` holds of it.
    std::string Shown(double number, CellValue& value) {
        const ReadFormat* format = m_format;
        // A date cell shows as a date, in its own format where that is one.
        if (m_type == "d" && (format == nullptr || !format->code || format->code->IsGeneral())) {
            format = &IsoDateFormat();
        }
        value.kind = CellValue::Kind::Number;
        value.number = number;
        value.format = format == nullptr ? nullptr : &format->format;
        if (format == nullptr || !format->code) {
            if (format != nullptr) m_unknown.insert(FormatName(format->format));
            return GeneralText(number);
        }
        if (format->code->IsGeneral()) return GeneralText(number);
        ShownValue shown = format->code->Show(number, m_formats.date1904);
        value.shows = shown.shows;
        if (shown.shows == Shows::Number && shown.number != shown.text) {
            value.shownNumber = std::move(shown.number);
        }
        return std::move(shown.text);
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
    const SheetFormats& m_formats;
    std::set<std::string>& m_unknown;
    TableRow m_row;
    std::size_t m_rowBytes = 0;
    std::size_t m_column = 0;
    std::string m_type;
    const ReadFormat* m_format = nullptr;
    CellText m_value;
    Place m_place = Place::BetweenRows;
    RichText m_text;
};

}  // namespace

std::unique_ptr<XmlHandler> SheetReader(const RowSink& sink, ZipArchive& archive,
                                        const SharedStrings& sharedStrings,
                                        const SheetFormats& formats,
                                        std::set<std::string>& unknown) {
    return std::make_unique<SheetHandler>(sink, archive, sharedStrings, formats, unknown);
}

}  // namespace tongqiu::table
