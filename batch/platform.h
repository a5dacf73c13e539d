#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tongqiu::batch {

// Sets the standard streams up for tables, which are bytes, and for messages, which are UTF-8,
// and returns the program's arguments (without its name) in UTF-8.
std::vector<std::string> PrepareCommandLine(int argc, char* argv[]);

// Whether a standard stream goes to a terminal: where a workbook's bytes do not belong, and where
// a line may be written over.
bool IsTerminal(std::FILE* stream);

}  // namespace tongqiu::batch
