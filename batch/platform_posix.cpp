#include <unistd.h>

#include "platform.h"

namespace tongqiu::batch {

// The standard streams carry bytes as they are, and arguments come as the user's UTF-8.
std::vector<std::string> PrepareCommandLine(int argc, char* argv[]) {
    return {argv + 1, argv + argc};
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

}  // namespace tongqiu::batch
