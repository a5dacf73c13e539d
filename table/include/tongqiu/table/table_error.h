#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tongqiu::table {

// What stops a table from being read or written. The words for the user are made from it in one
// place (TableErrorMessage); code decides by the kind alone.
enum class TableFault : std::uint8_t {
    // The table, in any format.
    Empty,          // no row at all
    ColumnTwice,    // `name`: the input column found twice in the header
    ColumnMissing,  // `name`: the input column the header lacks
    // A kit of balls.
    KitColumnMissing,        // `name`: the column the header lacks
    KitNumberEmpty,          // a ball without its 球号
    KitNumberTwice,          // `name`: the 球号; `partLine`: the line it is first on
    KitDiameterNotNumber,    // `name`: the cell's text
    KitDiameterNotPositive,  // `name`: the cell's text
    KitEmpty,
    KitTooLarge,
    // A filled 通球记录.
    NotRecord,  // no header with the columns filled in
    // A CSV's text.
    NotGb18030,
    NotUtf8,            // after lines that were UTF-8
    NotUtf8Unreadable,  // perhaps GB18030, but the input cannot be read again
    NoConverter,        // the system cannot convert GB18030
    ReadFailed,
    CellTooLarge,  // CSV
    UnclosedQuote,
    // The workbook as a whole.
    PipedWorkbookTooLarge,
    NoSheetHasHeader,  // `choices`: the headings looked for, where they are not a tube list's
    NoSuchSheet,       // `name`; `choices`: the sheets there are
    NoSheets,
    SheetMissing,  // `name`: the sheet whose part is not there
    NotWorkbook,
    PasswordProtected,
    OldExcelFile,
    ArchiveDamaged,  // its directory cannot be read
    Zip64,
    // A part of the workbook: `part`.
    PartMissing,
    PartDamaged,
    UnsupportedCompression,
    InflatesTooLarge,
    OutOfMemory,
    UnreadableContent,
    NestedTooDeep,
    HasDtd,
    XmlNamesTooMany,
    XmlMalformed,  // `partLine`; also the kinds up to XmlBadEncoding
    XmlBadCharacter,
    XmlIncomplete,
    XmlTagMismatch,
    XmlDuplicateAttribute,
    XmlUndefinedEntity,
    XmlUnboundPrefix,
    XmlBadEncoding,
    XmlTokenTooLarge,
    FormatCodeTooLong,
    TooManyFormats,
    TooManyStyles,
    SharedStringsTooLarge,
    SharedStringTooLong,
    TooManyColumns,
    CellTextTooLong,
    BadRowNumber,
    BadSharedString,
    SharedStringsCopiedTooOften,
    RowTooLong,
    // The output; the kinds after this are all the output's.
    OutputFailed,
    OutputNoConverter,
    OutputSheetFull,       // a workbook's rows or columns
    OutputCellTooLong,     // for a workbook
    OutputWorkbookFailed,  // `name`: what libxlsxwriter says
};

// A fault, and where it is: the table's line (a workbook's row; 0 where no line is to blame), the
// workbook's part and, for XML that is not well formed, the part's own line.
struct TableError {
    explicit TableError(TableFault what, long at = 0, std::string about = {})
        : fault(what), line(at), name(std::move(about)) {}

    TableFault fault;
    long line;
    std::string part;
    long partLine = 0;
    std::string name;                  // the column or sheet it is about
    std::vector<std::string> choices;  // the sheets there are, for a sheet not found

    [[nodiscard]] bool InOutput() const { return fault >= TableFault::OutputFailed; }
};

}  // namespace tongqiu::table
