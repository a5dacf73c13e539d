#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/expected.h"
#include "tongqiu/table/byte_source.h"
#include "tongqiu/table/row.h"
#include "xlsx/read/file_kind.h"
#include "xlsx/read/sheet_reader.h"
#include "xlsx/read/workbook_parts.h"
#include "xlsx/read/zip_archive.h"

namespace tongqiu::table {

// An .xlsx workbook: its sheets' names, and each sheet's rows with the texts their cells show.
// The shared strings and the number formats are read when it opens; a sheet streams through.
class WorkbookReader {
public:
    // Fails when the file is no ZIP, holds no xl/workbook.xml, or a part it needs is damaged.
    static Expected<WorkbookReader, TableError> Open(ByteSource& in);

    [[nodiscard]] const std::vector<std::string>& SheetNames() const { return m_sheetNames; }
    // The part that holds a sheet; two sheet entries may name the same one.
    [[nodiscard]] const std::string& SheetPart(std::size_t sheet) const {
        return m_sheetParts.at(sheet);
    }

    // Hands on the sheet's rows in order, an empty row for each one the sheet skips. A number
    // shows as its format has it; a formula gives its stored result. Stops at the sink's error.
    [[nodiscard]] std::optional<TableError> ReadSheet(std::size_t sheet, const RowSink& sink);

    // Hands on the sheet's first rows to `enough` until it returns true for one.
    [[nodiscard]] std::optional<TableError> ReadSheetTop(
        std::size_t sheet, const std::function<bool(const TableRow&)>& enough);

    // The number format codes read as General because they are not known here, once each.
    [[nodiscard]] const std::set<std::string>& UnknownFormats() const { return m_unknown; }

private:
    explicit WorkbookReader(ZipArchive archive) : m_archive(std::move(archive)) {}

    ZipArchive m_archive;
    std::vector<std::string> m_sheetNames;
    std::vector<std::string> m_sheetParts;
    SharedStrings m_sharedStrings;
    // The number formats that the cell styles use, each once; pointers into it last.
    std::unique_ptr<std::vector<ReadFormat>> m_formats;
    SheetFormats m_sheetFormats;
    std::set<std::string> m_unknown;
};

}  // namespace tongqiu::table
