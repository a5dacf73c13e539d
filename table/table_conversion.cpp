#include "tongqiu/table/table_conversion.h"

#include <algorithm>
#include <sstream>
#include <string>

#include "output_file.h"
#include "record.h"
#include "table_input.h"
#include "xlsx/read/xlsx_reader.h"

namespace tongqiu::table {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;

// A workbook from standard input is held whole, up to this size (a million rows take 100 MB).
constexpr std::size_t kMaxPipedWorkbook = std::size_t{128} << 20;

}  // namespace

std::string_view ReadBlock(std::istream& in, std::string& block) {
    block.resize(kBlock);
    in.read(block.data(), std::streamsize(block.size()));
    return {block.data(), std::size_t(in.gcount())};
}

std::optional<TableFormat> FormatOfName(std::string_view name) {
    std::string extension = std::filesystem::path(name).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (extension == ".csv") return TableFormat::Csv;
    if (extension == ".xlsx") return TableFormat::Xlsx;
    return std::nullopt;
}

Expected<TableSummary, TableError> ConvertTable(std::istream& in, const WriterFactory& output,
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
    in.clear();  // the failed seek
    block.resize(start.size());
    while (block.size() <= kMaxPipedWorkbook && !ReadBlock(in, piece).empty()) block.append(piece);
    if (block.size() > kMaxPipedWorkbook) {
        return TableError{TableFault::PipedWorkbookTooLarge};
    }
    std::istringstream whole(std::move(block));
    return ConvertWorkbook(whole, output, options);
}

Expected<TableSummary, TableError> ConvertTable(std::istream& in, const std::filesystem::path& path,
                                                const TableOptions& options) {
    PrintedRecord record;
    auto summary = ConvertTable(
        in,
        [&](const WriterRequest& request) {
            auto writer = FileWriter(path, request);
            if (options.recordTubes == 0) return writer;
            return std::unique_ptr<TableWriter>(std::make_unique<RecordCollector>(
                std::move(writer), request, options.recordTubes, record));
        },
        options);
    if (summary) summary->record = std::move(record);
    return summary;
}

}  // namespace tongqiu::table
