#include <algorithm>
#include <set>
#include <string>

#include "table_input.h"
#include "xlsx/read/xlsx_reader.h"

namespace tongqiu::table {
namespace {

// The index of the sheet to read: the one named, or the first whose header is found.
Expected<std::size_t, TableError> ChooseSheet(WorkbookReader& workbook,
                                              const TableReading& reading) {
    const auto& names = workbook.SheetNames();
    if (!reading.sheet.empty()) {
        const auto found = std::find(names.begin(), names.end(), reading.sheet);
        if (found != names.end()) return static_cast<std::size_t>(found - names.begin());
        TableError error{TableFault::NoSuchSheet, 0, reading.sheet};
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
            found = reading.isHeader(row.cells);
            return found || ++rows == reading.headerRows;
        });
        if (error) return *error;
        if (found) return sheet;
    }
    if (names.size() == 1) return 0;  // its first row says what is missing
    return TableError{TableFault::NoSheetHasHeader};
}

}  // namespace

std::optional<TableError> ReadWorkbook(ByteSource& in, const TableReading& reading,
                                       std::vector<std::string>& unknownFormats) {
    auto workbook = WorkbookReader::Open(in);
    if (!workbook) return workbook.error();
    const auto sheet = ChooseSheet(*workbook, reading);
    if (!sheet) return sheet.error();
    const RowSink sink =
        reading.start({TableFormat::Xlsx, Encoding::Utf8, workbook->SheetNames()[*sheet]});
    auto error = workbook->ReadSheet(*sheet, sink);
    unknownFormats.insert(unknownFormats.end(), workbook->UnknownFormats().begin(),
                          workbook->UnknownFormats().end());
    if (reading.end) reading.end(error);
    return error;
}

}  // namespace tongqiu::table
