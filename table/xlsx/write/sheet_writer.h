#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_writer.h"
#include "xlsx/write/workbook_file.h"

namespace tongqiu::table {

// Writes the rows of one sheet of a workbook. A workbook's cells keep their kind and number
// format; a CSV cell that is a plain decimal number becomes a number that shows as it did.
class SheetWriter : public TableWriter {
protected:
    SheetWriter(WorkbookFile& book, lxw_worksheet* sheet);

    static inline const CellValue kText{};  // a cell written as text, whatever it looks like

    std::optional<TableError> Cell(std::uint32_t row, std::size_t column, std::string_view text,
                                   const CellValue* value, lxw_format* style);
    // A result's text as a number in `style`, or as text where it is none.
    std::optional<TableError> Number(std::uint32_t row, std::size_t column, std::string_view text,
                                     lxw_format* style);
    // libxlsxwriter's `error`, as an error at the row being written; none for none.
    [[nodiscard]] std::optional<TableError> Failed(int error) const;

    WorkbookFile& m_book;
    lxw_worksheet* const m_sheet;
    lxw_format* const m_heading;               // bold, wrapping
    lxw_format* const m_twoPlaces;             // a ball's 0.00
    long m_line = 0;                           // the row being written, as read
    std::optional<TableError> m_startFailure;  // setting the sheet up; told at the first row
};

// The results: the rows as they were, the results after their own cells. The results are
// numbers formatted 0.00 (R/Dw 0.000000), so that a spreadsheet shows the window's texts; the
// header is bold and stays in view, its headings wrapping in columns as narrow as the results.
// It prints on A4 across, one page wide, the header on every page.
class ResultsSheet : public SheetWriter {
public:
    ResultsSheet(WorkbookFile& book, lxw_worksheet* sheet);

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override { return std::nullopt; }

private:
    std::optional<TableError> Result(std::size_t column, std::size_t index,
                                     const RowResults& results);

    lxw_format* const m_wrapped;    // 说明's
    lxw_format* const m_sixPlaces;  // R/Dw's 0.000000
    std::uint32_t m_row = 0;
    bool m_widthsSet = false;
};

// The 通球记录, for the bench and the quality file; what it holds is in record.h.
class RecordSheet : public SheetWriter {
public:
    RecordSheet(WorkbookFile& book, lxw_worksheet* sheet, const WriterRequest& request);

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override;

private:
    std::optional<TableError> Header(const TableRow& row, const RowResults& results);
    std::optional<TableError> Tube(const TableRow& row, const RowResults& results);

    std::uint32_t m_row = 0;
    std::uint32_t m_firstTube = 0;  // the row of the first tube
    std::size_t m_tubes = 0;
    std::vector<std::size_t> m_balls;  // the results shown after the tube's own cells
    std::size_t m_resultColumn = 0;    // 结果's
    bool m_header = false;
};

}  // namespace tongqiu::table
