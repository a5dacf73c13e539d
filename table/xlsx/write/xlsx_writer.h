#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_writer.h"
#include "xlsx/write/workbook_file.h"

namespace tongqiu::table {

// The name a workbook's sheet can take: `name` where a workbook allows it, otherwise one made
// from it, each of []:*?/\ made "_", an apostrophe at either end too, cut to 31 characters (as
// Excel counts them); an empty one is "Sheet1".
std::string WorkbookSheetName(std::string_view name);

// Writes a workbook of two sheets, row by row: the results, named as the request says, and the
// 通球记录 (sheet_writer.h).
class XlsxWriter : public TableWriter {
public:
    XlsxWriter(const std::filesystem::path& path, const WriterRequest& request);

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override;

private:
    WorkbookFile m_book;
    std::unique_ptr<TableWriter> m_results;
    std::unique_ptr<TableWriter> m_record;
};

}  // namespace tongqiu::table
