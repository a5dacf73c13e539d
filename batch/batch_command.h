#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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
// A workbook is never written to a terminal.
int RunBatch(const std::vector<std::string>& args, std::istream& standardInput,
             std::ostream& standardOutput, std::ostream& err, bool outputIsTerminal = false);

}  // namespace tongqiu::batch
