#include <algorithm>
#include <set>
#include <string>

#include "input_columns.h"
#include "row_conversion.h"
#include "table_input.h"
#include "xlsx/read/xlsx_reader.h"
#include "xlsx/write/xlsx_writer.h"

namespace tongqiu::table {
namespace {

// The index of the sheet to compute: the one named, or the first whose header is found.
Expected<std::size_t, TableError> ChooseSheet(WorkbookReader& workbook, const std::string& name) {
    const auto& names = workbook.SheetNames();
    if (!name.empty()) {
        const auto found = std::find(names.begin(), names.end(), name);
        if (found != names.end()) return static_cast<std::size_t>(found - names.begin());
        TableError error{TableFault::NoSuchSheet, 0, name};
        error.choices = names;
        return error;
    }
    if (names.empty()) return TableError{TableFault::NoSheets};
    std::set<std::string_view> searched;  // parts: several sheets may name the same one
    for (std::size_t sheet = 0; sheet < names.size(); ++sheet) {
        if (!searched.insert(workbook.SheetPart(sheet)).second) continue;
        bool found = false;
        int rows = 0;
        const auto error = workbook.ReadSheetTop(sheet, [&](const TableRow& row) {
            if (row.cells.empty()) return false;
            found = FindInputColumns(row.cells).has_value();
            return found || ++rows == kHeaderSearchRows;
        });
        if (error) return *error;
        if (found) return sheet;
    }
    if (names.size() == 1) return 0;  // its first row says what is missing
    return TableError{TableFault::NoSheetHasHeader};
}

}  // namespace

Expected<TableSummary, TableError> ConvertWorkbook(std::istream& in, const WriterFactory& output,
                                                   const TableOptions& options) {
    auto workbook = WorkbookReader::Open(in);
    if (!workbook) return workbook.error();
    const auto sheet = ChooseSheet(*workbook, options.sheet);
    if (!sheet) return sheet.error();
    const std::string& name = workbook->SheetNames()[*sheet];
    const TableFormat format = options.outputFormat.value_or(TableFormat::Xlsx);
    const std::string written = format == TableFormat::Xlsx ? WorkbookSheetName(name) : name;
    const auto writer =
        output({format, written, options.output.value_or(Encoding::Utf8), options.inputName, name});
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

}  // namespace tongqiu::table
