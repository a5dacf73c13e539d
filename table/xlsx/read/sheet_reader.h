#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tongqiu/table/row.h"
#include "xlsx/format/number_format.h"
#include "xlsx/read/cell_text.h"
#include "xlsx/read/workbook_parts.h"
#include "xlsx/read/xml_parser.h"
#include "xlsx/read/zip_archive.h"

namespace tongqiu::table {

// A number format as a workbook's styles give it, and its code read once, ready to show numbers;
// none where it cannot be read (the number is then shown as General).
struct ReadFormat {
    NumberFormat format;
    std::optional<NumberFormatCode> code;
};

// What a sheet's cells are read with: the formats by style, the day dates count from.
struct SheetFormats {
    std::vector<const ReadFormat*> byStyle;
    bool date1904 = false;
};

// A sheet's rows as its XML streams through: each row's cells with the texts they show, an empty
// row for each one the sheet skips, handed to the sink in order. The codes that cannot be read
// go into `unknown`.
std::unique_ptr<XmlHandler> SheetReader(const RowSink& sink, ZipArchive& archive,
                                        const SharedStrings& sharedStrings,
                                        const SheetFormats& formats,
                                        std::set<std::string>& unknown);

}  // namespace tongqiu::table
