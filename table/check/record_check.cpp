// Checks a 通球记录 as the bench filled it in: its header found by the columns filled in, each
// tube's row by its 序号, whatever order the rows are in now.
#include "tongqiu/table/record_check.h"

#include <algorithm>
#include <array>

#include "check/record_layout.h"
#include "input_columns.h"
#include "record.h"
#include "row_conversion.h"
#include "table_input.h"
#include "tongqiu/number_text.h"
#include "tongqiu/result_columns.h"
#include "tongqiu/table/table_messages.h"

namespace tongqiu::table {
namespace {

// The most problems listed; the rest are counted.
constexpr std::size_t kMostListedProblems = 100000;

// A sheet has no more rows than this, nor a record more tubes.
constexpr long kMostTubes = 1048576;

// Reads a record's rows and checks each tube's.
class RecordChecker {
public:
    explicit RecordChecker(const BallKit* kit) : m_kit(kit) {}

    std::optional<TableError> Take(const TableRow& row) {
        if (IsBlank(row)) return std::nullopt;
        if (!m_columns) {
            m_columns = FindRecordColumns(row.cells);
            if (m_columns) {
                for (const std::size_t i : m_columns->identity) {
                    m_check.identityHeadings.emplace_back(HeadingName(row.cells[i]));
                }
            }
            if (!m_columns && ++m_rowsAbove == kRecordHeaderRows) {
                return TableError{TableFault::NotRecord};
            }
            return std::nullopt;
        }
        if (const auto signer = SignerOf(row)) {
            m_signed[*signer] = m_signed[*signer] || Signed(row, *signer);
            return std::nullopt;
        }
        Tube(row);
        return std::nullopt;
    }

    Expected<RecordCheck, TableError> Finish();

private:
    void Problem(long number, std::string text) {
        if (m_check.problems.size() == kMostListedProblems) {
            ++m_check.unlisted;
        } else {
            m_check.problems.push_back({number, m_identity, std::move(text)});
        }
    }
    void Tube(const TableRow& row);
    void Ball(const TableRow& row, long number, std::string_view ball);

    const BallKit* m_kit;
    std::optional<RecordColumns> m_columns;
    int m_rowsAbove = 0;
    std::vector<bool> m_seen;  // by 序号
    std::array<bool, kSigners.size()> m_signed{};
    std::vector<std::string> m_identity;  // the row's being checked
    RecordCheck m_check;
};

void RecordChecker::Tube(const TableRow& row) {
    m_identity.clear();
    for (const std::size_t i : m_columns->identity) m_identity.emplace_back(TrimmedCell(row, i));
    const std::string_view numberText = TrimmedCell(row, 0);
    const auto value = FieldValue(numberText);
    const auto number = value && *value >= 1 && *value <= double(kMostTubes) ? long(*value) : 0L;
    const std::string_view result = TrimmedCell(row, m_columns->result);
    if (number == 0 || double(number) != *value) {
        // A note typed below the tubes is not a tube; a result without a tube's 序号 is a problem.
        if (!result.empty()) {
            Problem(0, "第 " + std::to_string(row.line) + " 行有结果，但序号“" +
                           std::string(numberText) + "”不是管子的序号，未核对。");
        }
        return;
    }
    if (m_seen.size() <= std::size_t(number)) m_seen.resize(std::size_t(number) + 1);
    if (m_seen[std::size_t(number)]) {
        Problem(number, "序号重复：这根管子在记录中不止一行，只核对了第一行。");
        return;
    }
    m_seen[std::size_t(number)] = true;
    ++m_check.tubes;
    if (result.empty()) {
        ++m_check.untested;
        Problem(number, "没有结果（未检）。");
        return;
    }
    if (result == kRecordResults[0]) {
        ++m_check.passed;
    } else if (result == kRecordResults[1]) {
        ++m_check.failed;
    } else {
        Problem(number, "结果“" + std::string(result) + "”应为“合格”或“不合格”。");
    }
    const std::string_view ball = m_columns->ball ? TrimmedCell(row, *m_columns->ball) : "";
    const std::array<std::pair<std::string_view, std::string_view>, 3> needed{{
        {kRecordFillIn[0], ball},
        {kRecordFillIn[2], TrimmedCell(row, m_columns->inspector)},
        {kRecordFillIn[3], TrimmedCell(row, m_columns->date)},
    }};
    for (const auto& [heading, text] : needed) {
        if (text.empty()) Problem(number, "有结果而没有" + std::string(heading) + "。");
    }
    if (!ball.empty()) Ball(row, number, ball);
}

void RecordChecker::Ball(const TableRow& row, long number, std::string_view ball) {
    double diameter = 0;
    std::string diameterText;
    if (m_kit != nullptr) {
        const KitBall* found = m_kit->Find(ball);
        if (found == nullptr) {
            Problem(number, "球号“" + std::string(ball) + "”不在球库中。");
            return;
        }
        diameter = found->diameter;
        diameterText = found->diameterText;
    } else {
        // Without the kit, the 球径 it filled in beside the 球号, if any.
        const auto shown = m_columns->ballDiameter
                               ? FieldValue(TrimmedCell(row, *m_columns->ballDiameter))
                               : CheckedValue(FailureKind::TypeMismatch);
        if (!shown) return;
        diameter = *shown;
        diameterText = TrimmedCell(row, *m_columns->ballDiameter);
    }
    if (!m_columns->inputs) return;
    FieldSet fields;
    if (const auto why = CalculateTube(row, *m_columns->inputs, fields)) {
        Problem(number, "尺寸无法重算：" + RowFailureMessage(*why));
        return;
    }
    // The ball the tube needs: its kind's; where the record does not say, the smallest of the
    // three kinds'.
    std::vector<FieldName> kinds{FieldName::Text4, FieldName::Text5, FieldName::Text6};
    if (m_columns->inputs->kind) {
        const auto kind = ReadTubeKind(TrimmedCell(row, *m_columns->inputs->kind));
        if (!kind) {
            Problem(number, RowFailureMessage({.fault = RowFault::BadKind}));
            return;
        }
        kinds = {*kind};
    }
    const FieldName need =
        *std::min_element(kinds.begin(), kinds.end(), [&](FieldName a, FieldName b) {
            return *FieldValue(fields.Get(a)) < *FieldValue(fields.Get(b));
        });
    const std::string& needText = fields.Get(need);
    const std::string& innerText = fields.Get(FieldName::Text11);
    const std::string named = "球号 " + std::string(ball) + " 的直径 " + diameterText;
    if (diameter < *FieldValue(needText) - kDiameterSlack) {
        Problem(number, named + " 小于所需的通球 " + needText + " mm。");
    } else if (diameter >= *FieldValue(innerText) - kDiameterSlack) {
        Problem(number, named + " 不小于内径 " + innerText + " mm，通不过。");
    }
}

Expected<RecordCheck, TableError> RecordChecker::Finish() {
    if (!m_columns) return TableError{TableFault::NotRecord};
    m_identity.clear();
    // Tubes missing in a run are one problem.
    for (std::size_t number = 1; number < m_seen.size(); ++number) {
        if (m_seen[number]) continue;
        std::size_t last = number;
        while (last + 1 < m_seen.size() && !m_seen[last + 1]) ++last;
        m_check.tubes += last - number + 1;
        m_check.untested += last - number + 1;
        Problem(long(number), last == number
                                  ? "记录中没有这根管子（行已删除？），未检。"
                                  : "记录中没有序号 " + std::to_string(number) + " 至 " +
                                        std::to_string(last) + " 的管子（行已删除？），未检。");
        number = last;
    }
    for (std::size_t signer = 0; signer < kSigners.size(); ++signer) {
        if (m_signed[signer]) continue;
        const std::string unsigned_ = "“" + std::string(kSigners[signer]) + "”没有签字";
        if (signer + 1 < kSigners.size()) {
            Problem(0, unsigned_ + "。");
        } else {
            m_check.notes.push_back(unsigned_ + "（不是每种产品都需要监检）。");
        }
    }
    // By 序号; the record's own problems last.
    std::stable_sort(m_check.problems.begin(), m_check.problems.end(),
                     [](const RecordProblem& a, const RecordProblem& b) {
                         return std::make_pair(a.number == 0, a.number) <
                                std::make_pair(b.number == 0, b.number);
                     });
    if (m_check.unlisted > 0) {
        m_check.notes.push_back("另有 " + std::to_string(m_check.unlisted) + " 处问题未列出。");
    }
    return std::move(m_check);
}

}  // namespace

Expected<RecordCheck, TableError> CheckRecord(ByteSource& in, const BallKit* kit) {
    std::optional<RecordChecker> checker;
    TableReading reading;
    reading.isHeader = [](const std::vector<std::string>& cells) {
        return FindRecordColumns(cells).has_value();
    };
    reading.headerRows = kRecordHeaderRows;
    reading.start = [&](const TableStart&) -> RowSink {
        checker.emplace(kit);
        return [&](const TableRow& row) { return checker->Take(row); };
    };
    std::vector<std::string> unknownFormats;
    if (auto error = ReadTable(in, reading, unknownFormats)) {
        if (error->fault == TableFault::NoSheetHasHeader) error->fault = TableFault::NotRecord;
        return *error;
    }
    return checker->Finish();
}

std::string CheckSummary(const RecordCheck& check) {
    return "共 " + std::to_string(check.tubes) + " 根：合格 " + std::to_string(check.passed) +
           "，不合格 " + std::to_string(check.failed) + "，未检 " + std::to_string(check.untested) +
           "；问题 " + std::to_string(check.problems.size() + check.unlisted) + " 处。";
}

std::string ProblemLine(const RecordCheck& check, const RecordProblem& problem) {
    if (problem.number == 0) return "记录：" + problem.text;
    std::string line = "序号 " + std::to_string(problem.number);
    std::string identity;
    for (std::size_t i = 0; i < problem.identity.size(); ++i) {
        if (problem.identity[i].empty()) continue;
        identity.append(identity.empty() ? "" : "，")
            .append(check.identityHeadings[i])
            .append(" ")
            .append(problem.identity[i]);
    }
    if (!identity.empty()) line.append("（").append(identity).append("）");
    return line.append("：").append(problem.text);
}

}  // namespace tongqiu::table
