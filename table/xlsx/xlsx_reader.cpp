#include "xlsx/xlsx_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

#include "tongqiu/float_chars.h"
#include "xlsx/shown_number.h"
#include "xlsx/xml_parser.h"

namespace tongqiu::table {
namespace {

constexpr std::string_view kWorkbookPart = "xl/workbook.xml";
constexpr std::string_view kRelationsPart = "xl/_rels/workbook.xml.rels";
constexpr long kMaxRows = 1'048'576;         // Excel's
constexpr std::size_t kMaxColumns = 16'384;  // A to XFD
// The most characters a spreadsheet's cell holds (Excel's limit), and a format code.
constexpr std::size_t kMaxCellCharacters = 32'767;
constexpr std::size_t kMaxFormatCharacters = 255;
// Excel's limit on a workbook's cell styles is 64,000; its own number formats are a few hundred.
constexpr std::size_t kMaxStyles = 65'536;
constexpr std::size_t kMaxFormatCodes = 4'096;
// The texts of one row together: far beyond a tube list's row, and a bound on what a row of
// cells naming one long shared string copies.
constexpr std::size_t kMaxRowBytes = std::size_t{1} << 20;

// The characters of UTF-8 text: its bytes less the continuation bytes.
std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

// A cell's text as it comes in pieces, and its characters counted as they come.
class CellText {
public:
    // False once it holds more characters than a cell may.
    bool Append(std::string_view piece) {
        m_text.append(piece);
        m_characters += Characters(piece);
        return m_characters <= kMaxCellCharacters;
    }
    void Clear() {
        m_text.clear();
        m_characters = 0;
    }
    [[nodiscard]] const std::string& Text() const { return m_text; }
    std::string Take() { return std::exchange(m_text, {}); }

private:
    std::string m_text;
    std::size_t m_characters = 0;
};

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

// A whole number from an attribute; `fallback` when there is none or it is no number.
long Number(std::string_view text, long fallback) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() ? value : fallback;
}

// Text collected from <t> elements, leaving out phonetic guides (<rPh>), for a shared string and
// for a cell's own rich text alike.
class RichText {
public:
    void Start(std::string_view name) {
        if (name == "rPh") ++m_phonetic;
        m_inText = name == "t" && m_phonetic == 0;
    }
    void End(std::string_view name) {
        if (name == "rPh") --m_phonetic;
        if (name == "t") m_inText = false;
    }
    bool Take(std::string_view text) { return !m_inText || m_text.Append(text); }
    CellText m_text;

private:
    int m_phonetic = 0;
    bool m_inText = false;
};

class WorkbookHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name == "sheet") {
            sheets.emplace_back(Attribute(attributes, "name"), Attribute(attributes, "id"));
        }
    }
    void End(std::string_view /*name*/) override {}
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relation
};

class RelationsHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name != "Relationship") return;
        std::string_view target = Attribute(attributes, "Target");
        std::string part =
            target.starts_with('/') ? std::string(target.substr(1)) : "xl/" + std::string(target);
        const std::string_view type = Attribute(attributes, "Type");
        if (type.ends_with("/sharedStrings")) sharedStrings = part;
        if (type.ends_with("/styles")) styles = part;
        targets.emplace(Attribute(attributes, "Id"), std::move(part));
    }
    void End(std::string_view /*name*/) override {}
    std::map<std::string, std::string, std::less<>> targets;
    std::string sharedStrings = "xl/sharedStrings.xml";
    std::string styles = "xl/styles.xml";
};

class StylesHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name == "numFmt") {
            const std::string_view code = Attribute(attributes, "formatCode");
            if (Characters(code) > kMaxFormatCharacters) {
                error = InputError{0, "数字格式代码超过 255 个字符（电子表格的上限）。"};
            } else if (codes.size() == kMaxFormatCodes) {
                error = InputError{0, "数字格式超过 4096 个，工作簿中不应有这么多。"};
            } else {
                codes.insert_or_assign(Number(Attribute(attributes, "numFmtId"), 0),
                                       std::string(code));
            }
        } else if (name == "cellXfs") {
            m_inCellStyles = true;
        } else if (name == "xf" && m_inCellStyles) {
            if (styleFormats.size() == kMaxStyles) {
                error = InputError{0, "单元格样式超过 65536 个（电子表格的上限）。"};
                return;
            }
            styleFormats.push_back(Number(Attribute(attributes, "numFmtId"), 0));
        }
    }
    void End(std::string_view name) override {
        if (name == "cellXfs") m_inCellStyles = false;
    }
    std::map<long, std::string> codes;
    std::vector<long> styleFormats;

private:
    bool m_inCellStyles = false;
};

class SharedStringsHandler : public XmlHandler {
public:
    explicit SharedStringsHandler(SharedStrings& strings) : m_strings(strings) {}
    void Start(std::string_view name, const char** /*attributes*/) override {
        if (name == "si") m_text.m_text.Clear();
        m_text.Start(name);
    }
    void End(std::string_view name) override {
        m_text.End(name);
        if (name == "si" && !m_strings.Add(m_text.m_text.Text())) {
            error = InputError{0, "共享字符串超过 32 MB，超出读取的上限。"};
        }
    }
    void Text(std::string_view text) override {
        if (!m_text.Take(text))
            error = InputError{0, "共享字符串的文本超过 32767 个字符（电子表格单元格的上限）。"};
    }

private:
    SharedStrings& m_strings;
    RichText m_text;
};

// The column of a cell reference ("B7" is 1), or `fallback` without letters.
std::size_t Column(std::string_view reference, std::size_t fallback) {
    std::size_t column = 0;
    std::size_t letters = 0;
    for (; letters < reference.size() && letters < 4; ++letters) {
        const char c = reference[letters];
        if (c < 'A' || c > 'Z') break;
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

bool IsZip(std::string_view start) {
    // A part's header, an empty archive's end record, or the mark of an archive split in pieces.
    return start.starts_with("PK\x03\x04") || start.starts_with("PK\x05\x06") ||
           start.starts_with("PK\x07\x08");
}

bool SharedStrings::Add(std::string_view text) {
    const std::size_t held = m_texts.size() + text.size() + (m_ends.size() + 1) * sizeof(m_ends[0]);
    if (held > kMaxSharedStrings) return false;
    m_texts.append(text);
    m_ends.push_back(static_cast<std::uint32_t>(m_texts.size()));
    return true;
}

std::string_view SharedStrings::operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_texts).substr(start, m_ends[index] - start);
}

bool IsCompoundFile(std::string_view start) {
    return start.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

InputError RefuseCompoundFile(std::istream& in) {
    // A workbook with a password keeps its encrypted ZIP in a stream named "EncryptedPackage".
    static const std::string kName = [] {
        std::string name;
        for (const char c : std::string_view("EncryptedPackage")) name.append({c, '\0'});
        return name;
    }();
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    constexpr int kPieces = 64;
    std::string text(kPiece + kName.size(), '\0');
    in.clear();
    in.seekg(0);
    std::size_t kept = 0;
    for (int i = 0; i < kPieces && in; ++i) {
        in.read(text.data() + kept, static_cast<std::streamsize>(kPiece));
        const std::string_view read(text.data(), kept + static_cast<std::size_t>(in.gcount()));
        if (read.find(kName) != std::string_view::npos) {
            return {0, "工作簿有密码保护：请在 Excel 或 WPS 中取消密码后再试。"};
        }
        kept = std::min(read.size(), kName.size());
        std::copy(read.end() - static_cast<std::ptrdiff_t>(kept), read.end(), text.begin());
    }
    return {0, "旧版 Excel 文件（.xls）：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV。"};
}

Expected<WorkbookReader, InputError> WorkbookReader::Open(std::istream& in) {
    auto archive = ZipArchive::Open(in);
    if (!archive) return InputError{0, archive.error()};
    if (!archive->Has(kWorkbookPart)) {
        return InputError{0, "不是 Excel 工作簿（.xlsx）：ZIP 中没有 xl/workbook.xml。"};
    }
    WorkbookReader reader(std::move(*archive));
    WorkbookHandler workbook;
    RelationsHandler relations;
    if (auto error = ParseXml(reader.m_archive, kWorkbookPart, workbook)) return *error;
    if (auto error = ParseXml(reader.m_archive, kRelationsPart, relations)) return *error;
    for (auto& [name, relation] : workbook.sheets) {
        const auto target = relations.targets.find(relation);
        if (target == relations.targets.end() || !reader.m_archive.Has(target->second)) {
            return InputError{0, "工作表“" + name + "”缺失：工作簿已损坏。"};
        }
        reader.m_sheetNames.push_back(std::move(name));
        reader.m_sheetParts.push_back(target->second);
    }

    StylesHandler styles;
    if (reader.m_archive.Has(relations.styles)) {
        if (auto error = ParseXml(reader.m_archive, relations.styles, styles)) return *error;
    }
    // Each format once, however many styles use it; the styles point at them.
    std::map<long, std::size_t> formatIndex;
    reader.m_formats = std::make_unique<std::vector<NumberFormat>>();
    for (const long id : styles.styleFormats) {
        if (!formatIndex.try_emplace(id, reader.m_formats->size()).second) continue;
        const auto code = styles.codes.find(id);
        reader.m_formats->push_back({static_cast<int>(std::clamp<long>(id, -1, 1L << 20)),
                                     code == styles.codes.end() ? "" : code->second});
    }
    for (const long id : styles.styleFormats) {
        reader.m_styleFormats.push_back(&(*reader.m_formats)[formatIndex[id]]);
    }
    SharedStringsHandler strings(reader.m_sharedStrings);
    if (reader.m_archive.Has(relations.sharedStrings)) {
        if (auto error = ParseXml(reader.m_archive, relations.sharedStrings, strings)) {
            return *error;
        }
    }
    return reader;
}

std::optional<InputError> WorkbookReader::ReadSheet(std::size_t sheet, const RowSink& sink) {
    SheetHandler handler(sink, m_archive, m_sharedStrings, m_styleFormats, m_unknown);
    return ParseXml(m_archive, m_sheetParts.at(sheet), handler);
}

}  // namespace tongqiu::table
