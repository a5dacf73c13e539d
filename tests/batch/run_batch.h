#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "batch_command.h"

namespace tongqiu::batch {

// A stream over `text` that cannot seek, as a pipe.
struct PipeBuffer : std::streambuf {
    explicit PipeBuffer(std::string& text) {
        setg(text.data(), text.data(), text.data() + text.size());
    }
};

struct Outcome {
    int status = -1;
    std::string output;  // what the output file holds, or "(none)"
    std::string err;
};

// Runs tongqiu-batch on `input`, written to a file in a folder of the test's own (CTest runs the
// tests side by side), with `args` and the output going to a file beside it. Checks that a refusal
// leaves only the input behind and a result only the output besides, and that no library's words
// reach the user.
inline Outcome RunOn(const std::string& input, std::vector<std::string> args = {},
                     const std::string& inputName = "in.csv",
                     const std::string& outputName = "out.csv") {
    namespace fs = std::filesystem;
    // Named for the test and a random number: another tree's tests may run beside these.
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    name.append(1, '-').append(std::to_string(std::random_device()()));
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / inputName, std::ios::binary) << input;
    args.insert(args.begin(),
                {"-o", (folder / outputName).string(), (folder / inputName).string()});
    std::istringstream noInput;
    std::ostringstream out;
    std::ostringstream err;
    Outcome run{RunBatch(args, noInput, out, err), "(none)", err.str()};
    if (fs::exists(folder / outputName)) {
        run.output =
            (std::ostringstream() << std::ifstream(folder / outputName, std::ios::binary).rdbuf())
                .str();
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), run.status == 2 ? 1 : 2)
        << "a refusal leaves only the input, a result only the output besides";
    EXPECT_EQ(run.err.find("WARN"), std::string::npos) << "no library speaks to the user";
    fs::remove_all(folder);
    return run;
}

}  // namespace tongqiu::batch
