#include <iostream>

#include "batch_command.h"
#include "platform.h"

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    using namespace tongqiu::batch;
    return RunBatch(PrepareCommandLine(argc, argv), std::cin, std::cout, std::cerr,
                    {.output = IsTerminal(stdout), .error = IsTerminal(stderr)});
}
