#include "xlsx/sheet_reader.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "tongqiu/float_chars.h"
#include "xlsx/shown_number.h"

namespace tongqiu::table {
namespace {

constexpr long kMaxRows = 1'048'576;         // Excel's
constexpr std::size_t kMaxColumns = 16'384;  // A to XFD
// The texts of one row together: far beyond a tube list's row, and a bound on what a row of
// cells naming one long shared string copies.
constexpr std::size_t kMaxRowBytes = std::size_t{1} << 20;

const std::string kTooLong = "单元格的文本超过 32767 个字符（电子表格单元格的上限）。";

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
            m_column = Column(Attribute(attributes, "r"), m_row.cells.size());
            m_type = Attribute(attributes, "t");
            // A cell without a style has the first, the workbook's default ("Normal").
            const long style = Number(Attribute(attributes, "s"), 0);
            m_format = style >= 0 && static_cast<std::size_t>(style) < m_styleFormats.size()
                           ? m_styleFormats[static_cast<std::size_t>(style)]
                           : nullptr;
            m_value.Clear();
            m_text.m_text.Clear();
            if (m_column >= kMaxColumns) error = InputError{m_row.line, "列数超过 16384。"};
        } else if (name == "v") {
            m_inValue = true;
        } else {
            m_text.Start(name);
        }
    }

    void End(std::string_view name) override {
        if (name == "v") {
            m_inValue = false;
        } else if (name == "c") {
            EndCell();
        } else if (name == "row" && m_inRow) {
            EndRow();
        } else {
            m_text.End(name);
        }
    }

    void Text(std::string_view text) override {
        if (m_inValue ? !m_value.Append(text) : !m_text.Take(text)) {
            error = InputError{m_row.line, kTooLong};
        }
    }

private:
    void StartRow(long line) {
        if (m_inRow || line <= m_row.line || line > kMaxRows) {
            error = InputError{m_row.line + 1, "行号有误。"};
            return;
        }
        m_inRow = true;
        m_rowBytes = 0;
        m_row.cells.clear();
        m_row.values.clear();
        while (!error && ++m_row.line < line) error = m_sink(m_row);  // rows the sheet skips
    }

    void EndCell() {
        std::string text;
        CellValue value;
        if (m_type == "s") {
            const auto index = static_cast<std::size_t>(Number(m_value.Text(), -1));
            if (index >= m_sharedStrings.Size()) {
                error = InputError{m_row.line, "共享字符串编号有误。"};
                return;
            }
            text = m_sharedStrings[index];  // this row's copy
            if (!m_archive.Charge(text.size())) {
                error = InputError{m_row.line, "引用共享字符串的文本总量过大，可能是恶意文件。"};
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
            error = InputError{m_row.line, "一行的文本超过 1 MB，表格中不应有。"};
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
        error = m_sink(m_row);
        m_row.cells.clear();
        m_row.values.clear();
        m_inRow = false;
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
    bool m_inValue = false;
    bool m_inRow = false;
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
