#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tongqiu/expected.h"
#include "tongqiu/table/ball_kit.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_error.h"

namespace tongqiu::table {

// A problem of a filled 通球记录: the tube's 序号 (0 for the record as a whole), the texts of its
// identifying cells (图号 and the like), what is wrong, in a sentence.
struct RecordProblem {
    long number = 0;
    std::vector<std::string> identity;
    std::string text;
};

// What a filled 通球记录 says and lacks. Tubes whose rows were deleted count as not tested.
struct RecordCheck {
    std::size_t tubes = 0;
    std::size_t passed = 0;                     // 合格
    std::size_t failed = 0;                     // 不合格
    std::size_t untested = 0;                   // no 结果
    std::vector<std::string> identityHeadings;  // the record's own columns that tell tubes apart
    std::vector<RecordProblem> problems;        // by 序号, the record's own last
    std::size_t unlisted = 0;                   // problems beyond the most that are listed
    std::vector<std::string> notes;             // said, but no problem: 监检 not signed
};

// Checks the 通球记录 in `in` (a workbook this program wrote, filled in at the bench; its rows may
// have been sorted or deleted, its cells typed as text or numbers): every tube tested with a
// result of 合格 or 不合格, with its 球号, 检验员 and 日期; the ball large enough for the tube as
// its own dimension cells give it now and small enough to pass (its 直径 from `kit`, or without
// one the record's 球径 where it has one); the record signed. Refused, as a TableError, where the
// file cannot be read or has no record's header.
Expected<RecordCheck, TableError> CheckRecord(ByteSource& in, const BallKit* kit);

// "共 120 根：合格 112，不合格 3，未检 5；问题 9 处。"
std::string CheckSummary(const RecordCheck& check);

// A problem as a line: "序号 5（图号 A-12）：没有结果（未检）。"
std::string ProblemLine(const RecordCheck& check, const RecordProblem& problem);

// Writes the problems as a table, CSV (UTF-8) or a workbook by `format`: 序号, the identifying
// cells, 问题; printable as the results are.
std::optional<TableError> WriteProblems(const RecordCheck& check, const std::filesystem::path& path,
                                        TableFormat format);

}  // namespace tongqiu::table
