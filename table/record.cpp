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
    lines.reserve(kSigners.size());
    for (const std::string_view signer : kSigners) {
        lines.push_back(std::string(signer) + "：＿＿＿＿＿＿＿＿　　日期：＿＿＿＿年＿＿月＿＿日");
    }
    return lines;
}

std::vector<std::size_t> RecordBallResults(const RowResults& results) {
    const auto roles = std::span(results.roles).first(results.count);
    const bool oneBall = std::count(roles.begin(), roles.end(), ResultRole::Ball) == 1;
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (roles[i] == ResultRole::Ball || roles[i] == ResultRole::KitNumber ||
            (oneBall && roles[i] == ResultRole::KitDiameter)) {
            shown.push_back(i);
        }
    }
    return shown;
}

std::span<const std::string_view> RecordFillIn(const RowResults& results) {
    const std::vector<std::size_t> balls = RecordBallResults(results);
    const bool numberShown =
        !balls.empty() && results.roles[balls.back()] == ResultRole::KitDiameter;
    return std::span(kRecordFillIn).subspan(numberShown ? 1 : 0);
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
    for (const std::size_t i : RecordBallResults(results)) cells.emplace_back(results.texts[i]);
}

}  // namespace

std::vector<std::string> RecordHeadings(const TableRow& header, const RowResults& results) {
    std::vector<std::string> headings = RowStart("序号", header, results);
    AppendBalls(headings, results);
    const auto fillIn = RecordFillIn(results);
    headings.insert(headings.end(), fillIn.begin(), fillIn.end());
    return headings;
}

std::vector<std::string> RecordTube(std::size_t number, const TableRow& row,
                                    const RowResults& results) {
    std::vector<std::string> cells = RowStart(std::to_string(number), row, results);
    if (results.withBalls) {
        AppendBalls(cells, results);
    } else {
        cells.emplace_back(results.Texts().back());
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
        m_record.balls = RecordBallResults(*results).size();
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
