// tongqiu-batch with the bench's kit, and checking a filled record: what it says and its exit
// status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "batch/run_batch.h"

namespace tongqiu::batch {
namespace {

namespace fs = std::filesystem;

// A kit in a file of the test's own.
struct KitFile {
    explicit KitFile(const std::string& csv) { std::ofstream(path, std::ios::binary) << csv; }
    ~KitFile() { fs::remove(path); }
    fs::path path =
        fs::temp_directory_path() / ("kit-" + std::to_string(std::random_device()()) + ".csv");
};

TEST(BatchKit, ChoosesEachTubesBallOrIsRefusedBeforeAnythingIsWritten) {
    const std::string tubes =
        "外径,壁厚,弯曲半径,类型\n38,4,76,有弯头无拼接焊缝\n"
        "32,3.5,48,有弯头无拼接焊缝\n";
    const KitFile kit("球号,直径\nM,24\n");
    // Any larger ball below the inner diameter; within 1 mm of the ball to use.
    const Outcome any = RunOn(tubes, {"--balls", kit.path.string()});
    EXPECT_EQ(any.status, 0);
    EXPECT_NE(any.output.find(",17.50,M,24.00,\n"), std::string::npos) << any.output;
    const Outcome near = RunOn(tubes, {"--balls", kit.path.string(), "--max-over", "1"});
    EXPECT_EQ(near.status, 1);
    EXPECT_NE(near.output.find(",24.00,M,24.00,\n"), std::string::npos) << near.output;
    EXPECT_NE(near.output.find(",17.50,,,球库中没有直径在 17.50 与 18.50 mm 之间的球。\n"),
              std::string::npos)
        << near.output;
    EXPECT_NE(near.err.find("：1 根管子在球库中没有合适的球，见“说明”列。"), std::string::npos)
        << near.err;

    const KitFile zero("球号,直径\nM,0\n");
    const Outcome refused = RunOn(tubes, {"--balls", zero.path.string()});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, zero.path.string() + " 第 2 行：直径“0”应大于 0。\n");

    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{"--balls", kit.path.string(), "--max-over", "-1"},
         "--max-over 后面应为不小于 0 的毫米数。"},
        {{"--max-over", "1"}, "--max-over 只能与 --balls 一起用。"},
        {{"--balls", (kit.path.string() + "x")}, ""},
    };
    for (const auto& [args, message] : wrong) {
        const Outcome outcome = RunOn(tubes, args);
        EXPECT_EQ(outcome.status, 2) << args[0];
        EXPECT_NE(outcome.err.find(message.empty() ? "：无法打开。" : message), std::string::npos)
            << outcome.err;
    }
}

struct Checked {
    int status;
    std::string out;
    std::string err;
};

Checked Check(const std::string& record, std::vector<std::string> args = {}) {
    std::istringstream in(record);
    std::ostringstream out;
    std::ostringstream err;
    args.insert(args.begin(), {"--check", "-"});
    const int status = RunBatch(args, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(BatchKit, CheckingARecordTellsItsProblemsByItsExitStatus) {
    const std::string top =
        "通球试验记录\n文件：管子.csv\n序号,外径,壁厚,弯曲半径,类型,选用通球,球号,球径,结果,检验员,"
        "日期\n";
    const std::string tube = ",38,4,76,有弯头无拼接焊缝,24.00,M,24.00,";
    const std::string signedLines = "检验员：王工\n审核：李工\n监检：赵工\n";
    const KitFile kit("球号,直径\nM,24\n");

    const Checked sound = Check(top + "1" + tube + "合格,王工,2026-12-09\n2" + tube +
                                    "不合格,王工,2026-12-09\n" + signedLines,
                                {"--balls", kit.path.string()});
    EXPECT_EQ(sound.status, 0);
    EXPECT_EQ(sound.out, "标准输入：共 2 根：合格 1，不合格 1，未检 0；问题 0 处。\n");

    const Checked untested =
        Check(top + "1" + tube + "合格,王工,2026-12-09\n2" + tube + ",,\n" + signedLines);
    EXPECT_EQ(untested.status, 1);
    EXPECT_EQ(
        untested.out,
        "标准输入：共 2 根：合格 1，不合格 0，未检 1；问题 1 处。\n序号 2：没有结果（未检）。\n");

    const Checked notRecord = Check("外径,壁厚,弯曲半径\n38,4,76\n");
    EXPECT_EQ(notRecord.status, 2);
    EXPECT_EQ(notRecord.out, "");
    EXPECT_EQ(notRecord.err,
              "标准输入：不是本程序写出的通球记录：前 23 行中没有含“序号”“结果”“检验员”“日期”的"
              "表头。\n");
    EXPECT_EQ(Check(top, {"--max-over", "1"}).status, 2);
}

// The problems as a table of their own, beside the lines on standard output.
TEST(BatchKit, CheckWritesItsProblemsAsATable) {
    const KitFile record(
        "通球试验记录\n序号,图号,外径,壁厚,弯曲半径,球号,结果,检验员,日期\n"
        "1,A1,38,4,76,M,合格,,2026-12-09\n检验员：王工\n审核：李工\n");
    const fs::path table = record.path.string() + ".problems.csv";
    const Checked checked = Check("", {"--check", record.path.string(), "-o", table.string()});
    EXPECT_EQ(checked.status, 2) << "one record only";
    std::istringstream none;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunBatch({"--check", record.path.string(), "-o", table.string()}, none, out, err), 1);
    EXPECT_EQ((std::ostringstream() << std::ifstream(table, std::ios::binary).rdbuf()).str(),
              "\xEF\xBB\xBF序号,图号,问题\r\n1,A1,有结果而没有检验员。\r\n");
    EXPECT_NE(out.str().find("序号 1（图号 A1）：有结果而没有检验员。"), std::string::npos);
    fs::remove(table);
}

}  // namespace
}  // namespace tongqiu::batch
