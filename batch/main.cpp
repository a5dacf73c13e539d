#include <iostream>
#include <string>
#include <vector>

#include "batch_command.h"

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    return tongqiu::batch::RunBatch(std::vector<std::string>(argv + 1, argv + argc), std::cin,
                                    std::cout, std::cerr);
}
