#include "table_conversion.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "csv.h"
#include "input_columns.h"
#include "text_encoding.h"
#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"

namespace tongqiu::batch {
namespace {

using enum FieldName;

// The result columns: their headings, and the fields whose texts fill them; 说明 comes last.
constexpr std::array<std::string_view, 12> kResultHeadings{"内径",
                                                           "R/Dw",
                                                           "表10",
                                                           "表10通球",
                                                           "表11",
                                                           "表11通球",
                                                           "表12",
                                                           "表12通球",
                                                           "有拼接焊缝无弯头",
                                                           "有弯头无拼接焊缝",
                                                           "有弯头有拼接焊缝",
                                                           "说明"};
constexpr std::array<FieldName, 11> kResultFields{Text11, Text7,  Text8, Text13, Text9, Text14,
                                                  Text10, Text15, Text4, Text5,  Text6};

constexpr std::size_t kBlock = std::size_t{1} << 16;

// The header is looked for in this many rows at the top of a table.
constexpr int kHeaderSearchRows = 20;

// Turns rows as read into rows as written, one at a time.
class RowWriter {
public:
    RowWriter(std::ostream& out, Encoding encoding) : m_out(out), m_encoding(encoding) {
        if (encoding == Encoding::Utf8) {
            m_out << kUtf8ByteOrderMark;
        } else {
            m_encoder.emplace(Encoding::Utf8, Encoding::Gb18030);
        }
    }

    std::optional<InputError> Write(const CsvRecord& record) {
        if (record.cells.empty()) {
            m_line.clear();  // an empty line stays empty
        } else if (m_columns) {
            Row(record);
        } else if (auto error = Header(record)) {
            return error;
        }
        m_line += record.ending;
        if (m_encoding == Encoding::Utf8) {
            m_out << m_line;
        } else {
            m_encoded.clear();
            // Every character read came from GB18030 and the program's own texts have their twins
            // in it, so the line converts whole.
            (void)m_encoder->Convert(m_line, m_encoded);
            m_out << m_encoded;
        }
        return std::nullopt;
    }

    // Why no header was found, once the table has ended without one.
    [[nodiscard]] std::optional<InputError> MissingHeader() const {
        if (m_columns) return std::nullopt;
        return m_firstNonHeader.value_or(InputError{0, "没有表头：文件是空的。"});
    }
    [[nodiscard]] const TableSummary& Summary() const { return m_summary; }

private:
    // The header is the first row near the top that names the three input columns; the rows above
    // it (a title, an order number, a date) are kept as they are. When none does, what is wrong
    // with the first row is what the user hears, as for a table that starts with its header.
    std::optional<InputError> Header(const CsvRecord& record) {
        const auto columns = FindInputColumns(record.cells);
        if (!columns) {
            if (!m_firstNonHeader)
                m_firstNonHeader = InputError{record.line, columns.error().message};
            StartLine(record.cells, record.cells.size());
            if (++m_rowsAboveHeader == kHeaderSearchRows) return m_firstNonHeader;
            return std::nullopt;
        }
        m_columns = *columns;
        m_width = record.cells.size();
        StartLine(record.cells, m_width);
        for (const std::string_view heading : kResultHeadings) m_line.append(",").append(heading);
        return std::nullopt;
    }

    // The cells up to the header's width, padded with empty ones so that the results stand under
    // their headings; cells beyond the header's width follow the results.
    void Row(const CsvRecord& record) {
        const std::vector<std::string>& cells = record.cells;
        StartLine(cells, std::min(cells.size(), m_width));
        for (std::size_t i = cells.size(); i < m_width; ++i) m_line += ',';

        std::string explanation;
        if (cells.size() < m_width) {
            explanation = "缺少单元格：表头有 " + std::to_string(m_width) + " 列，本行只有 " +
                          std::to_string(cells.size()) + " 列。";
        } else {
            for (std::size_t input = 0; input < kInputFields.size(); ++input) {
                m_fields.Set(kInputFields[input], cells[(*m_columns)[input]]);
            }
            if (const auto failure = Calculate(m_fields)) {
                explanation = FailureMessage(*failure);
                std::erase(explanation, '\n');  // one line: each sentence ends in "。"
            }
        }
        for (const FieldName field : kResultFields) {
            m_line += ',';
            if (explanation.empty()) AppendCsvCell(m_line, m_fields.Get(field));
        }
        m_line += ',';
        AppendCsvCell(m_line, explanation);
        ++m_summary.rows;
        if (!explanation.empty() && m_summary.failedRows++ == 0) {
            m_summary.firstFailureLine = record.line;
            m_summary.firstFailure = explanation;
        }
        for (std::size_t i = m_width; i < cells.size(); ++i) {
            m_line += ',';
            AppendCsvCell(m_line, cells[i]);
        }
    }

    void StartLine(const std::vector<std::string>& cells, std::size_t count) {
        m_line.clear();
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) m_line += ',';
            AppendCsvCell(m_line, cells[i]);
        }
    }

    std::ostream& m_out;
    Encoding m_encoding;
    std::optional<Transcoder> m_encoder;
    std::optional<InputColumns> m_columns;  // known once the header is read
    int m_rowsAboveHeader = 0;
    std::optional<InputError> m_firstNonHeader;
    std::size_t m_width = 0;  // cells in the header
    FieldSet m_fields;
    std::string m_line;
    std::string m_encoded;
    TableSummary m_summary;
};

}  // namespace

Expected<TableSummary, InputError> ConvertTable(std::istream& in, std::ostream& out,
                                                TableEncodings encodings,
                                                const std::function<void()>& restartOutput) {
    std::string block(kBlock, '\0');
    const auto readBlock = [&] {
        in.read(block.data(), std::streamsize(block.size()));
        return std::string_view(block.data(), std::size_t(in.gcount()));
    };
    std::string_view text = readBlock();
    const bool byteOrderMark = text.starts_with(kUtf8ByteOrderMark);
    const bool guessed = !encodings.input && !byteOrderMark;
    const Encoding encoding = encodings.input.value_or(DetectEncoding(text));
    if (byteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());

    RowWriter writer(out, encodings.output.value_or(encoding));
    CsvReader reader([&](const CsvRecord& record) { return writer.Write(record); });
    // UTF-8 goes through the converter too, which checks every block, not only the first.
    Transcoder decoder(encoding, Encoding::Utf8);
    bool onlyAscii = true;  // so far: then GB18030 reads the same text
    std::string decoded;
    // Hands on what converted, so that the line of any trouble is known.
    const auto feed = [&] {
        onlyAscii = onlyAscii && std::all_of(decoded.begin(), decoded.end(), [](char c) {
                        return static_cast<unsigned char>(c) < 0x80;
                    });
        auto error = reader.Feed(decoded);
        decoded.clear();
        return error;
    };
    bool valid = true;
    while (valid && !text.empty()) {
        valid = decoder.Convert(text, decoded);
        if (auto error = feed()) return *error;
        if (valid) text = readBlock();
    }
    if (valid) {
        valid = decoder.Finish(decoded);
        if (auto error = feed()) return *error;
    }
    if (!valid) {
        if (encoding == Encoding::Gb18030) {
            return InputError{reader.Line(), "不是有效的 GB18030 文本。"};
        }
        if (!guessed || !onlyAscii) {
            return InputError{reader.Line(), "不是有效的 UTF-8 文本，而前面的行是 UTF-8。"};
        }
        in.clear();
        if (!restartOutput || !in.seekg(0)) {
            return InputError{reader.Line(),
                              "不是有效的 UTF-8 文本，可能是 GB18030（GBK）。标准输入无法重读，"
                              "请以文件名给出输入。"};
        }
        restartOutput();
        return ConvertTable(in, out, {Encoding::Gb18030, encodings.output});
    }
    if (in.bad()) return InputError{0, "读取失败。"};
    if (auto error = reader.Finish()) return *error;
    if (auto error = writer.MissingHeader()) return *error;
    return writer.Summary();
}

}  // namespace tongqiu::batch
