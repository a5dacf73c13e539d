#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "row.h"
#include "tongqiu/expected.h"
#include "zip_archive.h"

namespace tongqiu::table {

// Whether a file's first bytes are those of a ZIP file, and of an OLE compound file (an old
// binary .xls, or a workbook with a password, which Excel wraps in one).
bool IsZip(std::string_view start);
bool IsCompoundFile(std::string_view start);

// Why a compound file cannot be read: a workbook with a password, or an old .xls.
InputError RefuseCompoundFile(std::istream& in);

// An .xlsx workbook: its sheets' names, and each sheet's rows with the texts their cells show.
// The shared strings and the number formats are read when it opens; a sheet streams through.
class WorkbookReader {
public:
    // Fails when the file is no ZIP, holds no xl/workbook.xml, or a part it needs is damaged.
    static Expected<WorkbookReader, InputError> Open(std::istream& in);

    [[nodiscard]] const std::vector<std::string>& SheetNames() const { return m_sheetNames; }

    // Hands on the sheet's rows in order, an empty row for each one the sheet skips. A number
    // shows as its format has it; a formula gives its stored result. Stops at the sink's error.
    [[nodiscard]] std::optional<InputError> ReadSheet(std::size_t sheet, const RowSink& sink);

    // The number format codes read as General because they are not known here, once each.
    [[nodiscard]] const std::set<std::string>& UnknownFormats() const { return m_unknown; }

private:
    explicit WorkbookReader(ZipArchive archive) : m_archive(std::move(archive)) {}

    ZipArchive m_archive;
    std::vector<std::string> m_sheetNames;
    std::vector<std::string> m_sheetParts;
    std::vector<std::string> m_sharedStrings;
    std::unique_ptr<std::vector<NumberFormat>> m_styleFormats;  // by style; pointers into it last
    std::set<std::string> m_unknown;
};

}  // namespace tongqiu::table
