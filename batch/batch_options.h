#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tongqiu::batch {

// What tongqiu-batch is asked to do.
struct Options {
    std::string input = "-";
    std::string output = "-";
    std::string sheet;
    std::string balls;  // the kit's file
    std::optional<double> maxOver;
    bool check = false;  // the input is a filled 通球记录 to check
};

// The options, or a message saying what is wrong with them; "" for --help and --version, whose
// text is already written.
std::optional<Options> Parse(const std::vector<std::string>& args, std::ostream& out,
                             std::string& problem);

}  // namespace tongqiu::batch
