#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_writer.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace tongqiu::table {

// The name a workbook's sheet can take: `name` where a workbook allows it, otherwise one made
// from it, each of []:*?/\ made "_", an apostrophe at either end too, cut to 31 characters (as
// Excel counts them); an empty one is "Sheet1".
std::string WorkbookSheetName(std::string_view name);

// Why libxlsxwriter could not write (its error code), at a row as read.
TableError WorkbookWriteFailed(long line, int error);

// Writes one sheet of an .xlsx workbook with libxlsxwriter, row by row (its constant-memory mode:
// memory does not grow with the rows). A workbook's cells keep their kind and number format; a CSV
// cell that is a plain decimal number becomes a number that shows as it did. The results are
// numbers formatted 0.00 (R/Dw 0.000000), so that a spreadsheet shows the window's texts; the
// header is bold and stays in view, its headings wrapping in columns as narrow as the results.
// It prints on A4 across, one page wide, the header on every page.
class XlsxWriter : public TableWriter {
public:
    XlsxWriter(const std::filesystem::path& path, const WriterRequest& request);
    ~XlsxWriter() override;

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override;

private:
    static constexpr CellValue kText{};  // a cell written as text, whatever it looks like

    std::optional<TableError> Cell(lxw_worksheet* sheet, std::uint32_t row, std::size_t column,
                                   std::string_view text, const CellValue* value,
                                   lxw_format* style);
    // A result's text as a number in `style`, or as text where it is none.
    std::optional<TableError> Number(lxw_worksheet* sheet, std::uint32_t row, std::size_t column,
                                     std::string_view text, lxw_format* style);
    std::optional<TableError> Result(std::size_t column, std::size_t index,
                                     const RowResults& results);
    lxw_format* Format(int id, const std::string& code);
    lxw_format* FormatOf(const NumberFormat* format);
    lxw_format* PlacesFormat(int places);
    std::optional<TableError> Close();  // writes the workbook out, once

    // The 通球记录 sheet, row by row beside the results (record_sheet.cpp).
    void StartRecord(const WriterRequest& request);
    std::optional<TableError> Record(const TableRow& row, const RowResults* results);
    std::optional<TableError> RecordHeader(const TableRow& row, const RowResults& results);
    std::optional<TableError> RecordTube(const TableRow& row, const RowResults& results);
    std::optional<TableError> FinishRecord();

    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_bold = nullptr;     // the header's, wrapping
    lxw_format* m_wrapped = nullptr;  // 说明's
    std::map<std::string, lxw_format*> m_formats;
    std::unordered_map<const NumberFormat*, lxw_format*> m_formatOf;
    std::array<lxw_format*, 16> m_placesFormats{};  // a plain decimal has at most 15 digits
    lxw_format* m_twoPlaces = nullptr;              // the results' 0.00
    lxw_format* m_sixPlaces = nullptr;              // R/Dw's 0.000000
    std::uint32_t m_row = 0;
    long m_line = 0;  // the row being written, as read
    bool m_widthsSet = false;

    lxw_worksheet* m_record = nullptr;
    lxw_format* m_title = nullptr;
    std::uint32_t m_recordRow = 0;
    std::uint32_t m_firstTube = 0;  // the record's row of the first tube
    std::size_t m_tubes = 0;
    std::size_t m_fillIn = 0;  // the record's column of 球号, the first to fill in
    bool m_recordHeader = false;
};

}  // namespace tongqiu::table
