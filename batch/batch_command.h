#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

namespace tongqiu::table {
class BallKit;
}

namespace tongqiu::batch {

// Exit statuses of tongqiu-batch.
enum ExitStatus : int {
    kAllComputed = 0,
    kSomeRowsFailed = 1,
    kNothingWritten = 2,  // the input could not be read, a column is missing, or wrong options
};

// Runs tongqiu-batch with its arguments, without the program's name:
//   tongqiu-batch [-o OUTPUT] [--sheet NAME] [INPUT]
// INPUT "-" or absent reads standard input; OUTPUT absent or "-" writes standard output. The
// output is written in full or not at all: to a temporary file that is renamed at the end, or,
// for standard output, to a temporary file that is copied out at the end. Messages, in Chinese,
// go to `err`, each naming the file and, where it applies, the row.
// Which standard streams go to a terminal. A workbook is never written to one; on one for
// messages, a table that takes longer than `progressAfter` shows the rows done on a line that
// is cleared at the end.
struct Terminals {
    bool output = false;
    bool error = false;
    std::chrono::milliseconds progressAfter{1000};
};

// Checks the filled 通球记录 in `in` (named `name`), the balls against `kit` where given; writes
// the summary and the problems to `out` and, unless `output` is "-", the problems as a table
// there (.csv or .xlsx). Exits kAllComputed when nothing is wrong, kSomeRowsFailed with problems,
// kNothingWritten when the record cannot be read (check_command.cpp).
int CheckRecord(std::istream& in, const std::string& name, const std::string& output,
                const table::BallKit* kit, std::ostream& out, std::ostream& err);

int RunBatch(const std::vector<std::string>& args, std::istream& standardInput,
             std::ostream& standardOutput, std::ostream& err, const Terminals& terminals = {});

}  // namespace tongqiu::batch
