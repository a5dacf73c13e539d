#include "tongqiu/table/table_conversion.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "background_writer.h"
#include "csv/csv.h"
#include "csv/csv_writer.h"
#include "input_columns.h"
#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"
#include "xlsx/xlsx_reader.h"
#include "xlsx/xlsx_writer.h"

namespace tongqiu::table {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;

// Progress is told after every this many rows.
constexpr std::size_t kProgressRows = 5000;

// A workbook from standard input is held whole, up to this size (a million rows take 100 MB).
constexpr std::size_t kMaxPipedWorkbook = std::size_t{128} << 20;

// The header is looked for in this many rows at the top of a table.
constexpr int kHeaderSearchRows = 20;

// Reads the next block of `in` into `block`; empty at the end.
std::string_view ReadBlock(std::istream& in, std::string& block) {
    block.resize(kBlock);
    in.read(block.data(), std::streamsize(block.size()));
    return {block.data(), std::size_t(in.gcount())};
}

// The sheet name a CSV's results get in a workbook.
const std::string kCsvSheetName = "通球";

// Turns rows as read into rows as written, one at a time.
class Conversion {
public:
    // In a workbook, cells missing at the end of a row are empty ones; in CSV, a short row is
    // refused, since a lost separator would shift the cells after it.
    Conversion(TableWriter& writer, bool missingCellsAreEmpty,
               const std::function<void(std::size_t)>& progress)
        : m_writer(writer), m_missingCellsAreEmpty(missingCellsAreEmpty), m_progress(progress) {}

    std::optional<InputError> Take(const TableRow& row) {
        if (row.cells.empty()) return m_writer.Write(row, nullptr);  // an empty row stays empty
        if (!m_columns) return Header(row);
        return Row(row);
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
    std::optional<InputError> Header(const TableRow& row) {
        const auto columns = FindInputColumns(row.cells);
        if (!columns) {
            if (!m_firstNonHeader) m_firstNonHeader = InputError{row.line, columns.error().message};
            if (auto error = m_writer.Write(row, nullptr)) return error;
            if (++m_rowsAboveHeader == kHeaderSearchRows) return m_firstNonHeader;
            return std::nullopt;
        }
        m_columns = *columns;
        m_results.column = row.cells.size();
        m_results.heading = true;
        for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
            m_results.texts[i] = kResultColumns[i].heading;
        }
        m_results.texts.back() = kExplanationHeading;
        auto error = m_writer.Write(row, &m_results);
        m_results.heading = false;
        return error;
    }

    std::optional<InputError> Row(const TableRow& row) {
        const std::vector<std::string>& cells = row.cells;
        const std::size_t width = m_results.column;
        std::string& explanation = m_explanation;
        explanation.clear();
        if (cells.size() < width && !m_missingCellsAreEmpty) {
            explanation = "缺少单元格：表头有 " + std::to_string(width) + " 列，本行只有 " +
                          std::to_string(cells.size()) + " 列。";
        } else {
            for (std::size_t input = 0; input < kInputFields.size(); ++input) {
                const std::size_t column = (*m_columns)[input];
                m_fields.Set(kInputFields[input], column < cells.size() ? cells[column] : "");
            }
            if (const auto failure = Calculate(m_fields)) {
                explanation = FailureMessage(*failure);
                std::erase(explanation, '\n');  // one line: each sentence ends in "。"
            }
        }
        for (std::size_t i = 0; i < kResultColumns.size(); ++i) {
            m_results.texts[i] = explanation.empty()
                                     ? std::string_view(m_fields.Get(kResultColumns[i].field))
                                     : std::string_view();
        }
        m_results.texts.back() = explanation;
        if (++m_summary.rows % kProgressRows == 0 && m_progress) m_progress(m_summary.rows);
        if (!explanation.empty() && m_summary.failedRows++ == 0) {
            m_summary.firstFailureLine = row.line;
            m_summary.firstFailure = explanation;
        }
        return m_writer.Write(row, &m_results);
    }

    TableWriter& m_writer;
    bool m_missingCellsAreEmpty;
    const std::function<void(std::size_t)>& m_progress;
    std::optional<InputColumns> m_columns;  // known once the header is read
    int m_rowsAboveHeader = 0;
    std::optional<InputError> m_firstNonHeader;
    RowResults m_results;
    FieldSet m_fields;
    std::string m_explanation;
    TableSummary m_summary;
};

// The summary, or the first error: the reading's, the header's, then the writing's.
Expected<TableSummary, InputError> Finished(const std::optional<InputError>& readError,
                                            const Conversion& conversion, TableWriter& writer) {
    auto error = readError ? readError : conversion.MissingHeader();
    auto written = writer.Finish();
    if (error) return *error;
    if (written) return *written;
    return conversion.Summary();
}

Expected<TableSummary, InputError> ConvertCsv(std::istream& in, std::string_view text,
                                              const WriterFactory& output, TableOptions options) {
    std::string block;
    const bool byteOrderMark = text.starts_with(kUtf8ByteOrderMark);
    const bool guessed = !options.input && !byteOrderMark;
    const Encoding encoding = options.input.value_or(DetectEncoding(text));
    if (byteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());

    const auto writer = output({options.outputFormat.value_or(TableFormat::Csv), kCsvSheetName,
                                options.output.value_or(encoding)});
    Conversion conversion(*writer, false, options.progress);
    CsvReader reader([&](const TableRow& row) { return conversion.Take(row); });
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
        if (auto error = feed()) return Finished(error, conversion, *writer);
        if (valid) text = ReadBlock(in, block);
    }
    if (valid) {
        valid = decoder.Finish(decoded);
        if (auto error = feed()) return Finished(error, conversion, *writer);
    }
    if (!valid) {
        std::optional<InputError> error;
        if (encoding == Encoding::Gb18030) {
            error = InputError{reader.Line(), "不是有效的 GB18030 文本。"};
        } else if (!guessed || !onlyAscii) {
            error = InputError{reader.Line(), "不是有效的 UTF-8 文本，而前面的行是 UTF-8。"};
        } else {
            in.clear();
            if (!in.seekg(0)) {
                error =
                    InputError{reader.Line(),
                               "不是有效的 UTF-8 文本，可能是 GB18030（GBK）。标准输入无法重读，"
                               "请以文件名给出输入。"};
            }
        }
        if (error) return Finished(error, conversion, *writer);
        (void)writer->Finish();
        options.input = Encoding::Gb18030;
        return ConvertCsv(in, ReadBlock(in, block), output, options);
    }
    if (in.bad()) return Finished(InputError{0, "读取失败。"}, conversion, *writer);
    return Finished(reader.Finish(), conversion, *writer);
}

// What stops the reading of a sheet once its top has been seen.
const InputError kEnoughRead{-1, ""};

// The index of the sheet to compute: the one named, or the first whose header is found.
Expected<std::size_t, InputError> ChooseSheet(WorkbookReader& workbook, const std::string& name) {
    const auto& names = workbook.SheetNames();
    if (!name.empty()) {
        const auto found = std::find(names.begin(), names.end(), name);
        if (found != names.end()) return static_cast<std::size_t>(found - names.begin());
        std::string known;
        for (const auto& sheet : names)
            known.append(known.empty() ? "“" : "、“").append(sheet).append("”");
        return InputError{0, "没有名为“" + name + "”的工作表；工作簿中有 " + known + "。"};
    }
    if (names.empty()) return InputError{0, "工作簿中没有工作表。"};
    std::set<std::string_view> searched;  // parts: several sheets may name the same one
    for (std::size_t sheet = 0; sheet < names.size(); ++sheet) {
        if (!searched.insert(workbook.SheetPart(sheet)).second) continue;
        bool found = false;
        int rows = 0;
        const auto error =
            workbook.ReadSheet(sheet, [&](const TableRow& row) -> std::optional<InputError> {
                if (row.cells.empty()) return std::nullopt;
                found = FindInputColumns(row.cells).has_value();
                if (found || ++rows == kHeaderSearchRows) return kEnoughRead;
                return std::nullopt;
            });
        if (error && error->line != kEnoughRead.line) return *error;
        if (found) return sheet;
    }
    if (names.size() == 1) return 0;  // its first row says what is missing
    return InputError{0, "没有一个工作表在前 " + std::to_string(kHeaderSearchRows) +
                             " 行中有含“外径”“壁厚”“弯曲半径”三列的表头。"};
}

Expected<TableSummary, InputError> ConvertWorkbook(std::istream& in, const WriterFactory& output,
                                                   const TableOptions& options) {
    auto workbook = WorkbookReader::Open(in);
    if (!workbook) return workbook.error();
    const auto sheet = ChooseSheet(*workbook, options.sheet);
    if (!sheet) return sheet.error();
    const std::string& name = workbook->SheetNames()[*sheet];
    const TableFormat format = options.outputFormat.value_or(TableFormat::Xlsx);
    const std::string written = format == TableFormat::Xlsx ? WorkbookSheetName(name) : name;
    const auto writer = output({format, written, options.output.value_or(Encoding::Utf8)});
    Conversion conversion(*writer, true, options.progress);
    const auto error =
        workbook->ReadSheet(*sheet, [&](const TableRow& row) { return conversion.Take(row); });
    auto summary = Finished(error, conversion, *writer);
    if (summary) {
        summary->format = TableFormat::Xlsx;
        summary->sheet = name;
        if (written != name) summary->renamedSheet = written;
        summary->unknownFormats.assign(workbook->UnknownFormats().begin(),
                                       workbook->UnknownFormats().end());
    }
    return summary;
}

// Writes CSV into a file of its own.
class CsvFile : public TableWriter {
public:
    CsvFile(const std::filesystem::path& path, Encoding encoding)
        : m_file(path, std::ios::binary | std::ios::trunc), m_writer(m_file, encoding) {}
    std::optional<InputError> Write(const TableRow& row, const RowResults* results) override {
        return m_writer.Write(row, results);
    }
    std::optional<InputError> Finish() override {
        auto error = m_writer.Finish();
        m_file.close();
        return error;
    }

private:
    std::ofstream m_file;
    CsvWriter m_writer;
};

}  // namespace

std::optional<TableFormat> FormatOfName(std::string_view name) {
    std::string extension = std::filesystem::path(name).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (extension == ".csv") return TableFormat::Csv;
    if (extension == ".xlsx") return TableFormat::Xlsx;
    return std::nullopt;
}

Expected<TableSummary, InputError> ConvertTable(std::istream& in, const WriterFactory& output,
                                                const TableOptions& options) {
    std::string block;
    std::string piece;
    const std::string_view start = ReadBlock(in, block);
    if (IsCompoundFile(start)) return RefuseCompoundFile(in);
    // A ZIP file is known by its start, or by its end when something was put before it.
    if (!IsZip(start) && !ZipArchive::EndsAsZip(in)) return ConvertCsv(in, start, output, options);
    in.clear();
    if (in.seekg(0)) return ConvertWorkbook(in, output, options);
    // A workbook from standard input, which cannot go back: it is read whole, up to a size.
    block.resize(start.size());
    while (block.size() <= kMaxPipedWorkbook && !ReadBlock(in, piece).empty()) block.append(piece);
    if (block.size() > kMaxPipedWorkbook) {
        return InputError{0, "从标准输入读取的工作簿超过 128 MB，请以文件名给出。"};
    }
    std::istringstream whole(std::move(block));
    return ConvertWorkbook(whole, output, options);
}

Expected<TableSummary, InputError> ConvertTable(std::istream& in, const std::filesystem::path& path,
                                                const TableOptions& options) {
    return ConvertTable(
        in,
        [&](const WriterRequest& request) -> std::unique_ptr<TableWriter> {
            if (request.format == TableFormat::Xlsx) {
                auto workbook = std::make_unique<XlsxWriter>(path, request.sheet);
#ifdef __EMSCRIPTEN__
                return workbook;  // the page's worker has no threads
#else
                // Writing a workbook takes longer than reading and computing its rows.
                return std::make_unique<BackgroundWriter>(std::move(workbook));
#endif
            }
            return std::make_unique<CsvFile>(path, request.encoding);
        },
        options);
}

}  // namespace tongqiu::table
