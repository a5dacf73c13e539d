#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tongqiu/table/row.h"
#include "xlsx/read/cell_text.h"
#include "xlsx/read/workbook_parts.h"
#include "xlsx/read/xml_parser.h"
#include "xlsx/read/zip_archive.h"

namespace tongqiu::table {

// A sheet's rows as its XML streams through: each row's cells with the texts they show, an empty
// row for each one the sheet skips, handed to the sink in order.
std::unique_ptr<XmlHandler> SheetReader(const RowSink& sink, ZipArchive& archive,
                                        const SharedStrings& sharedStrings,
                                        const std::vector<const NumberFormat*>& styleFormats,
                                        std::set<std::string>& unknown);

}  // namespace tongqiu::table
