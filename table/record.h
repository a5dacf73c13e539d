#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_writer.h"

namespace tongqiu::table {

// What the 通球记录 holds, for a workbook's second sheet and the page's printout alike: a title,
// what it was made from, the table's rows above its header; a row for each tube with a 序号, its
// own cells up to the header's width, the ball to use (or why there is none) and the columns the
// inspector fills in; the lines to sign.
inline constexpr std::string_view kRecordTitle = "通球试验记录";
inline constexpr std::array<std::string_view, 4> kRecordFillIn{"球号", "结果", "检验员", "日期"};
inline constexpr std::array<std::string_view, 2> kRecordResults{"合格", "不合格"};

// Who signs the record, each on a line of their own at its end.
inline constexpr std::array<std::string_view, 3> kSigners{"检验员", "审核", "监检"};

// "文件：NAME　工作表：SHEET".
std::string RecordSource(const WriterRequest& request);

// The lines to sign: 检验员, 审核 and 监检, each with its 日期.
std::vector<std::string> RecordSignatures();

// The results a record shows after a tube's own cells: its balls (选用通球, or the three kinds'),
// with a kit each one's 球号, and for the one ball of a tube whose kind is known its 球径 too.
std::vector<std::size_t> RecordBallResults(const RowResults& results);

// The columns filled in at the bench: 球号 (unless the kit's is there to change), 结果, 检验员,
// 日期.
std::span<const std::string_view> RecordFillIn(const RowResults& results);

// The record's headings: 序号, the header's own cells, the balls', what is filled in.
std::vector<std::string> RecordHeadings(const TableRow& header, const RowResults& results);

// A tube's row as texts: its 序号, its own cells, its balls or, for a row that failed, its 说明;
// the columns to fill in are left out.
std::vector<std::string> RecordTube(std::size_t number, const TableRow& row,
                                    const RowResults& results);

// Passes every row on to `writer` and keeps the record's texts in `record`, for up to
// `maxTubes` tubes; beyond that it keeps none and says the record is too long.
class RecordCollector : public TableWriter {
public:
    RecordCollector(std::unique_ptr<TableWriter> writer, const WriterRequest& request,
                    std::size_t maxTubes, PrintedRecord& record);

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override { return m_writer->Finish(); }

private:
    std::unique_ptr<TableWriter> m_writer;
    std::size_t m_maxTubes;
    PrintedRecord& m_record;
};

}  // namespace tongqiu::table
