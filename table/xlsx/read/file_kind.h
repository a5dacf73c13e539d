#pragma once

#include <string_view>

#include "tongqiu/table/byte_source.h"
#include "tongqiu/table/row.h"

namespace tongqiu::table {

// Whether a file's first bytes are those of a ZIP file, and of an OLE compound file (an old
// binary .xls, or a workbook with a password, which Excel wraps in one).
bool IsZip(std::string_view start);
bool IsCompoundFile(std::string_view start);

// Why a compound file cannot be read: a workbook with a password, or an old .xls.
TableError RefuseCompoundFile(ByteSource& in);

}  // namespace tongqiu::table
