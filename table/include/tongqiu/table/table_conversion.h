#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/expected.h"
#include "tongqiu/table/ball_kit.h"
#include "tongqiu/table/byte_source.h"
#include "tongqiu/table/row.h"
#include "tongqiu/table/table_writer.h"
#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {

enum class TableFormat { Csv, Xlsx };

// The format a file name asks for by its extension (".csv", ".xlsx", in any case), if any.
std::optional<TableFormat> FormatOfName(std::string_view name);

// The 通球记录 as texts, for a page to print: its title, what it was made from, the table's rows
// above its header, the headings, a row for each tube (its 序号, own cells, balls or 说明; the
// columns to fill in after them left out) and the lines to sign.
struct PrintedRecord {
    std::string title;
    std::string source;
    std::vector<std::vector<std::string>> above;
    std::vector<std::string> headings;
    std::size_t firstBall = 0;  // the headings' ball columns: where they start, how many
    std::size_t balls = 0;
    std::vector<std::vector<std::string>> tubes;
    std::vector<std::string> signatures;  // the lines to sign
    bool tooLong = false;                 // more tubes than were to be kept: none are
};

// What a conversion did: the rows it computed or refused (not the header, not empty rows), the
// first refused row's line and message, and what it read.
struct TableSummary {
    std::size_t rows = 0;
    std::size_t failedRows = 0;
    std::size_t rowsWithoutKitBall = 0;  // computed, but a ball is not in the kit
    long firstFailureLine = 0;
    std::string firstFailure;
    TableFormat format = TableFormat::Csv;  // the input's
    std::string sheet;                      // a workbook's sheet that was computed
    std::string renamedSheet;  // the results' sheet, where a workbook cannot take `sheet`
    std::vector<std::string> unknownFormats;  // number formats read as General
    PrintedRecord record;                     // where TableOptions asked for it
};

struct TableOptions {
    std::optional<Encoding> input;            // CSV: decided from the first block when not given
    std::optional<Encoding> output;           // CSV: the input's when not given
    std::optional<TableFormat> outputFormat;  // the input's when not given
    std::string sheet;  // a workbook's sheet by name; "" for the first that has the header
    std::function<void(std::size_t rows)> progress;  // told now and then of the rows done
    std::string inputName;        // the input as the user knows it, for a workbook's 通球记录
    std::size_t recordTubes = 0;  // up to this many tubes, the 通球记录 as texts in the summary
    const BallKit* kit = nullptr;  // where given, each ball's from the kit, in two columns after it
    std::optional<double> maxOver;  // a kit's ball no more than this above the ball to use
};

// What the output is to be: its format, the name of a workbook's sheet, CSV's encoding; and what
// a workbook's 通球记录 says it was made from: the input's name and its sheet (none for CSV).
struct WriterRequest {
    TableFormat format = TableFormat::Csv;
    std::string sheet;
    Encoding encoding = Encoding::Utf8;
    std::string inputName;
    std::string inputSheet;
};

// Makes the writer for the output; it is asked again, once the first one has finished, when a
// table is read again from its start.
using WriterFactory = std::function<std::unique_ptr<TableWriter>(const WriterRequest& request)>;

// Reads a table of tubes from `in`, CSV or an .xlsx workbook (known by its content), and writes
// every row with its cells as they were, then the twelve result columns (内径 ... 有弯头有拼接焊缝,
// 说明). The header is the first of the first 20 rows that names the three input columns; rows
// above it are kept as they are and not computed. Returns what it did, or an TableError when the
// input cannot be read, lacks a column, or the output cannot be written.
//
// A CSV whose first block is plain ASCII may hold GB18030 further down (a remark typed later). An
// input that can be read again from its start is then read again whole as GB18030; otherwise, or
// when Chinese UTF-8 came before, the table is refused at the line that is not UTF-8.
Expected<TableSummary, TableError> ConvertTable(ByteSource& in, const WriterFactory& output,
                                                const TableOptions& options = {});

// The same, written to a file at `path` (created or emptied).
Expected<TableSummary, TableError> ConvertTable(ByteSource& in, const std::filesystem::path& path,
                                                const TableOptions& options = {});

}  // namespace tongqiu::table
