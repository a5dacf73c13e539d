#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/expected.h"
#include "tongqiu/table/row.h"
#include "xlsx/zip_archive.h"

namespace tongqiu::table {

// Whether a file's first bytes are those of a ZIP file, and of an OLE compound file (an old
// binary .xls, or a workbook with a password, which Excel wraps in one).
bool IsZip(std::string_view start);
bool IsCompoundFile(std::string_view start);

// The most a workbook keeps of its shared strings, counting each one's text and its place. A
// tube list of a million rows, each with a remark of its own, needs a third of it.
inline constexpr std::size_t kMaxSharedStrings = std::size_t{32} << 20;

// Why a compound file cannot be read: a workbook with a password, or an old .xls.
InputError RefuseCompoundFile(std::istream& in);

// A workbook's shared strings, held once: their texts one after the other, and where each ends.
class SharedStrings {
public:
    // False when the strings would no longer fit in kMaxSharedStrings.
    bool Add(std::string_view text);
    [[nodiscard]] std::size_t Size() const { return m_ends.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t index) const;

private:
    std::string m_texts;
    std::vector<std::uint32_t> m_ends;
};

// An .xlsx workbook: its sheets' names, and each sheet's rows with the texts their cells show.
// The shared strings and the number formats are read when it opens; a sheet streams through.
class WorkbookReader {
public:
    // Fails when the file is no ZIP, holds no xl/workbook.xml, or a part it needs is damaged.
    static Expected<WorkbookReader, InputError> Open(std::istream& in);

    [[nodiscard]] const std::vector<std::string>& SheetNames() const { return m_sheetNames; }
    // The part that holds a sheet; two sheet entries may name the same one.
    [[nodiscard]] const std::string& SheetPart(std::size_t sheet) const {
        return m_sheetParts.at(sheet);
    }

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
    SharedStrings m_sharedStrings;
    // The number formats that the cell styles use, each once; pointers into it last.
    std::unique_ptr<std::vector<NumberFormat>> m_formats;
    std::vector<const NumberFormat*> m_styleFormats;  // by style
    std::set<std::string> m_unknown;
};

}  // namespace tongqiu::table
