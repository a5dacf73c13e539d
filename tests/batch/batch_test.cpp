#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <tuple>
#include <vector>

#include "batch/run_batch.h"
#include "tongqiu/calculate.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {
namespace {

namespace fs = std::filesystem;
using batch::Outcome;
using batch::RunBatch;
using batch::RunOn;

// Cells come back as they were (quoted where needed), each row followed by the texts the window
// shows for it or by the window's message; short rows are padded so results stay under their
// headings; empty lines and line ends are kept.
TEST(Batch, RowsKeepTheirCellsAndGetWhatTheWindowShows) {
    const std::string input =
        "备注,外径（mm）,壁厚,弯曲半径\r\n"
        "\"a \"\"1\"\", b\",38,4,76\r\n"
        "\r\n"
        "\"two\nlines\",７６,５,６８。４\n"
        "x,0,4,76\n"
        "\"\"\n"
        ",,,\n"
        "short,89,6\n"
        "long,38,19,76,extra";
    const std::string none(12, ',');
    const std::string output =
        "备注,外径（mm）,壁厚,弯曲半径,内径,R/Dw,表10,表10通球,表11,表11通球,表12,表12通球,"
        "有拼接焊缝无弯头,有弯头无拼接焊缝,有弯头有拼接焊缝,说明\r\n"
        "\"a \"\"1\"\", b\",38,4,76,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,24.00,24.00,"
        "24.00,\r\n"
        "\r\n"
        "\"two\nlines\",７６,５,６８。４,66.00,0.900000,0.90,59.40,0.65,42.90,0.65,42.90,59.40,"
        "42.90,42.90,\n"
        "x,0,4,76" +
        none +
        "除数为零。请检查“外径”。\n"
        ",,," +
        none +
        "缺少单元格：表头有 4 列，本行只有 1 列。\n"
        ",,," +
        none +
        "输入的不是数字。请检查“弯曲半径”。\n"
        "short,89,6," +
        none +
        "缺少单元格：表头有 4 列，本行只有 3 列。\n"
        "long,38,19,76" +
        none + "壁厚必须小于外径的一半，否则内径不大于 0。请修改后再计算。,extra";
    for (const std::string byteOrderMark : {"", "\xEF\xBB\xBF"}) {
        const Outcome run = RunOn(byteOrderMark + input);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.ends_with("in.csv：5 行无法计算，原因见“说明”列。\n")) << run.err;
        EXPECT_EQ(run.output, "\xEF\xBB\xBF" + output);
    }
}

// GB18030 in, GB18030 out: "外径,壁厚,弯曲半径" and a row; the results' headings in GB18030.
TEST(Batch, WritesInTheEncodingItReads) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser's converter reads GB18030 but cannot write it";
#endif
    // The second ends inside a UTF-8 character, so it is read again as GB18030, in vain.
    for (const std::string input :
         {"\xCD\xE2\xBE\xB6,t,R\n38,4,\xFF\xFF\n", "Dw,t,R\n38,4,76\xE5"}) {
        const Outcome bad = RunOn(input);
        EXPECT_EQ(bad.status, 2);
        EXPECT_TRUE(bad.err.ends_with("in.csv 第 2 行：不是有效的 GB18030 文本。\n")) << bad.err;
    }
    const Outcome run = RunOn(
        "\xCD\xE2\xBE\xB6,\xB1\xDA\xBA\xF1,\xCD\xE4\xC7\xFA\xB0\xEB\xBE\xB6\n"
        "38,4,76\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(
        run.output.starts_with("\xCD\xE2\xBE\xB6,\xB1\xDA\xBA\xF1,\xCD\xE4\xC7\xFA\xB0\xEB"
                               "\xBE\xB6,\xC4\xDA\xBE\xB6,R/Dw,"))
        << run.output;
    EXPECT_TRUE(
        run.output.ends_with("\n38,4,76,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,"
                             "24.00,24.00,24.00,\n"));
}

TEST(Batch, WritesNothingWhenTheInputCannotBeRead) {
    const std::string header = "Dw,t,R\r\n";
    const std::string usage = "。用法见 tongqiu-batch --help。\n";
    std::string rows;  // past the first block, which decides the encoding
    for (int row = 0; row < 9000; ++row) rows += "38,4,76\n";
    const std::tuple<std::string, std::vector<std::string>, std::string> runs[] = {
        {header + "38,4,\"76\n38,4,76\n", {}, "in.csv 第 2 行：引号没有闭合。\n"},
        {header + "38,4," + std::string(1'048'577, '7'), {}, "in.csv 第 2 行：单元格超过 1 MB。\n"},
        {"Dw,t\n38,4\n", {}, "in.csv 第 1 行：表头缺少“弯曲半径”列（也可写作 R）。\n"},
        {"外径,t,R\n" + rows + "38,4,\xB9\xFD\n",
         {},
         "in.csv 第 9002 行：不是有效的 UTF-8 文本，而前面的行是 UTF-8。\n"},
        {std::string(kUtf8ByteOrderMark) + "Dw,t,R\n38,4,\xB9\xFD\n",
         {},
         "in.csv 第 2 行：不是有效的 UTF-8 文本，而前面的行是 UTF-8。\n"},
        {"", {}, "in.csv：没有表头：文件是空的。\n"},
        {header, {"-x"}, "未知选项“-x”" + usage},
        {header, {"-o"}, "-o 后面缺少输出文件名" + usage}};
    for (const auto& [input, args, message] : runs) {
        const Outcome run = RunOn(input, args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output, "(none)");
        EXPECT_TRUE(run.err.ends_with(message)) << run.err;
    }
    const Outcome run = RunOn(header + "38,4,76\n", {}, "in.csv", "missing/out.xlsx");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.ends_with(
        "out.xlsx：无法写入工作簿：无法创建该文件，请确认文件夹存在且可以写入。\n"))
        << run.err;
}

// The header may stand below a title, an order number or a date, which stay as they are; it is
// looked for in the first 20 rows, and when none names the columns the first row is blamed.
TEST(Batch, TheHeaderIsTheFirstOfTwentyRowsThatNamesTheColumns) {
    const std::string titles = "订单 118\n\n\"客户, 日期\",2026-12-07\n";
    std::string rows;
    for (int row = 3; row < 20; ++row) rows += "x\n";
    const Outcome run = RunOn(titles + rows + "序号,外径,壁厚,弯曲半径\n1,38,4,76\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.output, "\xEF\xBB\xBF" + titles + rows +
                              "序号,外径,壁厚,弯曲半径,内径,R/Dw,表10,表10通球,表11,表11通球,表12,"
                              "表12通球,有拼接焊缝无弯头,有弯头无拼接焊缝,有弯头有拼接焊缝,说明\n"
                              "1,38,4,76,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,24.00,"
                              "24.00,24.00,\n");
    const Outcome late = RunOn(titles + rows + "x\n序号,外径,壁厚,弯曲半径\n1,38,4,76\n");
    EXPECT_TRUE(late.status == 2 &&
                late.err.ends_with("in.csv 第 1 行：表头缺少“外径”列（也可写作 "
                                   "Dw；外径和壁厚也可合写在“规格”列中，如 Φ38×4）。\n"));
}

// On a terminal, a table that takes long shows its rows done on one line, cleared before the
// last message; nothing of it where messages go to a file or a pipe.
TEST(Batch, ShowsProgressOnATerminalOnlyAndClearsIt) {
    std::string table = "Dw,t,R\n";
    for (int row = 0; row < 10'000; ++row) table += row == 9'999 ? "38,4,x\n" : "38,4,76\n";
    for (const bool terminal : {false, true}) {
        std::istringstream in(table);
        std::ostringstream out;
        std::ostringstream err;
        const batch::Terminals terminals{.error = terminal, .progressAfter = {}};
        EXPECT_EQ(RunBatch({}, in, out, err, terminals), 1);
        const std::string last = "标准输入：正在计算……已算 10000 行";
        std::string expected = "\r标准输入：正在计算……已算 5000 行\r";
        expected.append(last).append(1, '\r').append(last.size(), ' ').append(1, '\r');
        const std::string told = "标准输入：1 行无法计算，原因见“说明”列。\n";
        EXPECT_EQ(err.str(), terminal ? expected.append(told) : told);
    }
}

TEST(Batch, ReadsStandardInputAndWritesStandardOutput) {
    std::istringstream in("Dw,t,R\n38,4,76\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunBatch({"-"}, in, out, err), 0);
    EXPECT_TRUE(
        out.str().starts_with("\xEF\xBB\xBF"
                              "Dw,t,R,内径,R/Dw,"))
        << out.str();
    EXPECT_TRUE(
        out.str().ends_with("\n38,4,76,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,22.50,"
                            "24.00,24.00,24.00,\n"));
}

// A full disk or a closed pipe on standard output is said, with status 2, whatever was written.
TEST(Batch, AFailedWriteToStandardOutputIsSaid) {
    struct Full : std::streambuf {
        int_type overflow(int_type /*c*/) override { return traits_type::eof(); }
    } full;
    const std::pair<std::vector<std::string>, std::string> runs[] = {
        {{"-"}, "Dw,t,R\n38,4,76\n"},
        {{"--check", "-"}, "序号,结果,检验员,日期\n1,合格,王工,2026-12-09\n"},
    };
    for (const auto& [args, input] : runs) {
        std::istringstream in(input);
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(RunBatch(args, in, out, err), 2) << args[0];
        EXPECT_EQ(err.str(), "标准输出：无法写入。\n") << args[0];
    }
}

// An ASCII start decides UTF-8; GB18030 further down ("过热器" in a remark) makes a table that can
// be read again start over as GB18030, and one that cannot (a pipe) is refused at that line.
TEST(Batch, LateGb18030IsReadAgainWhereTheInputCanBe) {
    std::string table = "Dw,t,R,note\n";
    for (int row = 0; row < 7000; ++row) {  // past the first block; lines 3 and 5 fail
        table += row == 1 || row == 3 ? "38,19,76,x\n" : "38,4,76,x\n";
    }
    table += "38,4,76,\xB9\xFD\xC8\xC8\xC6\xF7\n";

    BytesSource file(table);
    TableOptions options;
    options.output = Encoding::Utf8;
    const fs::path path = fs::temp_directory_path() / "late-gb18030.csv";
    const auto result = ConvertTable(file, path, options);
    ASSERT_TRUE(result);
    const TableSummary& summary = *result;
    EXPECT_EQ(summary.rows, 7001U);
    EXPECT_EQ(summary.failedRows, 2U);
    EXPECT_EQ(summary.firstFailureLine, 3);
    EXPECT_EQ(summary.firstFailure, "壁厚必须小于外径的一半，否则内径不大于 0。请修改后再计算。");
    const std::string converted =
        (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
    EXPECT_TRUE(
        converted.starts_with("\xEF\xBB\xBF"
                              "Dw,t,R,note,内径,"));
    EXPECT_EQ(std::count(converted.begin(), converted.end(), '\n'), 7002);
    EXPECT_TRUE(
        converted.ends_with("\n38,4,76,过热器,30.00,2.000000,0.80,24.00,0.80,24.00,0.75,"
                            "22.50,24.00,24.00,24.00,\n"));

    batch::PipeBuffer pipe(table);
    std::istream in(&pipe);
    std::ostringstream written;
    std::ostringstream err;
    EXPECT_EQ(RunBatch({}, in, written, err), 2);
    EXPECT_TRUE(written.str().empty());
    EXPECT_EQ(err.str(),
              "标准输入 第 7002 行：不是有效的 UTF-8 文本，可能是 GB18030（GBK）。"
              "标准输入无法重读，请以文件名给出输入。\n");
}

}  // namespace
}  // namespace tongqiu::table
