#include "record.h"

#include <algorithm>
#include <utility>

namespace tongqiu::table {

std::string RecordSource(const WriterRequest& request) {
    std::string source = "文件：" + request.inputName;
    if (!request.inputSheet.empty()) source += "　工作表：" + request.inputSheet;
    return source;
}

std::vector<std::string> RecordSignatures() {
    std::vector<std::string> lines;
    for (const char* signer : {"检验员", "审核", "监检"}) {
        lines.push_back(std::string(signer) + "：＿＿＿＿＿＿＿＿　　日期：＿＿＿＿年＿＿月＿＿日");
    }
    return lines;
}

BallResults RecordBalls(const RowResults& results) {
    const std::size_t results11 = kResultColumns.size();
    if (results.count == kMostResultTexts) return {results11, 1};
    return {results11 - 3, 3};
}

namespace {

// A record row's start: `first` in the 序号 column, then the row's own cells up to the header's
// width, as many as the header has.
std::vector<std::string> RowStart(std::string first, const TableRow& row,
                                  const RowResults& results) {
    std::vector<std::string> cells{std::move(first)};
    const auto own = static_cast<std::ptrdiff_t>(std::min(row.cells.size(), results.column));
    cells.insert(cells.end(), row.cells.begin(), row.cells.begin() + own);
    cells.resize(results.column + 1);
    return cells;
}

// The texts of the results that give the balls: their headings on the header, a tube's balls.
void AppendBalls(std::vector<std::string>& cells, const RowResults& results) {
    const BallResults balls = RecordBalls(results);
    for (std::size_t i = 0; i < balls.count; ++i) {
        cells.emplace_back(results.texts[balls.first + i]);
    }
}

}  // namespace

std::vector<std::string> RecordHeadings(const TableRow& header, const RowResults& results) {
    std::vector<std::string> headings = RowStart("序号", header, results);
    AppendBalls(headings, results);
    headings.insert(headings.end(), kRecordFillIn.begin(), kRecordFillIn.end());
    return headings;
}

std::vector<std::string> RecordTube(std::size_t number, const TableRow& row,
                                    const RowResults& results) {
    std::vector<std::string> cells = RowStart(std::to_string(number), row, results);
    const std::string_view explanation = results.Texts().back();
    if (!explanation.empty()) {
        cells.emplace_back(explanation);
    } else {
        AppendBalls(cells, results);
    }
    return cells;
}

RecordCollector::RecordCollector(std::unique_ptr<TableWriter> writer, const WriterRequest& request,
                                 std::size_t maxTubes, PrintedRecord& record)
    : m_writer(std::move(writer)), m_maxTubes(maxTubes), m_record(record) {
    m_record = {};  // a table read again from its start is recorded again
    m_record.title = kRecordTitle;
    m_record.source = RecordSource(request);
    m_record.signatures = RecordSignatures();
}

std::optional<TableError> RecordCollector::Write(const TableRow& row, const RowResults* results) {
    if (results == nullptr) {
        if (m_record.headings.empty()) m_record.above.push_back(row.cells);
    } else if (results->heading) {
        m_record.headings = RecordHeadings(row, *results);
        m_record.firstBall = results->column + 1;
        m_record.balls = RecordBalls(*results).count;
    } else if (!m_record.tooLong) {
        m_record.tooLong = m_record.tubes.size() == m_maxTubes;
        if (m_record.tooLong) {
            m_record.tubes = {};  // none rather than some
        } else {
            m_record.tubes.push_back(RecordTube(m_record.tubes.size() + 1, row, *results));
        }
    }
    return m_writer->Write(row, results);
}

}  // namespace tongqiu::table
