#include <iostream>

#include "batch_command.h"
#include "platform.h"

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    return tongqiu::batch::RunBatch(tongqiu::batch::PrepareCommandLine(argc, argv), std::cin,
                                    std::cout, std::cerr);
}
