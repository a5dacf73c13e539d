#include "tongqiu/table/table_conversion.h"

#include <algorithm>
#include <string>

#include "output_file.h"
#include "record.h"
#include "row_conversion.h"
#include "table_input.h"
#include "xlsx/write/xlsx_writer.h"

namespace tongqiu::table {
namespace {

// The sheet name a CSV's results get in a workbook.
constexpr std::string_view kCsvSheetName = "通球";

// What the output is to be, for a table read as `start` says.
WriterRequest RequestFor(const TableStart& start, const TableOptions& options) {
    WriterRequest request{options.outputFormat.value_or(start.format), std::string(kCsvSheetName),
                          options.output.value_or(start.encoding), options.inputName, start.sheet};
    if (start.format == TableFormat::Xlsx) {
        request.sheet =
            request.format == TableFormat::Xlsx ? WorkbookSheetName(start.sheet) : start.sheet;
    }
    return request;
}

}  // namespace

std::optional<TableFormat> FormatOfName(std::string_view name) {
    std::string extension = std::filesystem::path(name).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (extension == ".csv") return TableFormat::Csv;
    if (extension == ".xlsx") return TableFormat::Xlsx;
    return std::nullopt;
}

Expected<TableSummary, TableError> ConvertTable(ByteSource& in, const WriterFactory& output,
                                                const TableOptions& options) {
    TableStart started;
    WriterRequest request;  // the output's, for the table as started
    std::optional<Expected<TableSummary, TableError>> summary;
    std::unique_ptr<TableWriter> writer;
    std::optional<Conversion> conversion;
    TableReading reading{
        options.input,
        options.sheet,
        [](const std::vector<std::string>& cells) { return FindInputColumns(cells).has_value(); },
        kHeaderSearchRows,
        [&](const TableStart& start) -> RowSink {
            conversion.reset();
            if (writer) (void)writer->Finish();  // a CSV read again from its start
            started = start;
            request = RequestFor(start, options);
            writer = output(request);
            conversion.emplace(*writer, start.format == TableFormat::Xlsx, options);
            return [&](const TableRow& row) { return conversion->Take(row); };
        },
        [&](const std::optional<TableError>& error) {
            summary = Finished(error, *conversion, *writer);
        }};
    std::vector<std::string> unknownFormats;
    const auto error = ReadTable(in, reading, unknownFormats);
    if (!summary) return error.value_or(TableError{TableFault::Empty});
    if (*summary) {
        TableSummary& done = **summary;
        done.format = started.format;
        if (started.format == TableFormat::Xlsx) {
            done.sheet = started.sheet;
            if (request.sheet != started.sheet) done.renamedSheet = request.sheet;
            done.unknownFormats = std::move(unknownFormats);
        }
    }
    return *summary;
}

Expected<TableSummary, TableError> ConvertTable(ByteSource& in, const std::filesystem::path& path,
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
