// The 通球记录: the texts the page prints, and the workbook's sheet telling when it cannot be
// written.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tongqiu/table/table_conversion.h"
#include "xlsx/write/sheet_writer.h"

// The rows and results below name only what matters to each case.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace tongqiu::table {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

// A file of the test's own, removed with it.
struct Scratch {
    fs::path path = fs::temp_directory_path() /
                    (std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                     "-" + std::to_string(std::random_device()()));
    ~Scratch() { fs::remove(path); }
};

PrintedRecord RecordOf(const std::string& csv, std::size_t most, const BallKit* kit = nullptr) {
    BytesSource in(csv);
    Scratch out;
    auto summary =
        ConvertTable(in, out.path, {.inputName = "管子.csv", .recordTubes = most, .kit = kit});
    EXPECT_TRUE(summary);
    return summary ? summary->record : PrintedRecord{};
}

// Each tube with its own cells and its balls, or why it has none: the three kinds' balls, or the
// one its 类型 names.
TEST(PrintedRecord, EachTubeWithItsCellsAndBallsOrWhyItHasNone) {
    const std::string signature = "：＿＿＿＿＿＿＿＿　　日期：＿＿＿＿年＿＿月＿＿日";
    const PrintedRecord three = RecordOf(
        "订单 7,\n图号,外径,壁厚,弯曲半径\nA1,38,4,76\n\nA2,x,4,76\nA3,76,5,68.4,多余\n", 10);
    EXPECT_EQ(three.title, "通球试验记录");
    EXPECT_EQ(three.source, "文件：管子.csv");
    EXPECT_EQ(three.above, (Rows{{"订单 7", ""}}));
    EXPECT_EQ(three.headings,
              (std::vector<std::string>{"序号", "图号", "外径", "壁厚", "弯曲半径",
                                        "有拼接焊缝无弯头", "有弯头无拼接焊缝", "有弯头有拼接焊缝",
                                        "球号", "结果", "检验员", "日期"}));
    EXPECT_EQ(three.firstBall, 5U);
    EXPECT_EQ(three.balls, 3U);
    EXPECT_EQ(three.tubes, (Rows{{"1", "A1", "38", "4", "76", "24.00", "24.00", "24.00"},
                                 {"2", "A2", "x", "4", "76", "输入的不是数字。请检查“外径”。"},
                                 {"3", "A3", "76", "5", "68.4", "59.40", "42.90", "42.90"}}));
    EXPECT_EQ(three.signatures, (std::vector<std::string>{"检验员" + signature, "审核" + signature,
                                                          "监检" + signature}));
    EXPECT_FALSE(three.tooLong);

    const PrintedRecord one = RecordOf(
        "外径,壁厚,弯曲半径,类型\n38,4,76,有弯头无拼接焊缝\n38,4,76,有拼接焊缝无弯头\n", 2);
    EXPECT_EQ(one.firstBall, 5U);
    EXPECT_EQ(one.balls, 1U);
    EXPECT_EQ(one.headings[5], "选用通球");
    EXPECT_EQ(one.tubes, (Rows{{"1", "38", "4", "76", "有弯头无拼接焊缝", "24.00"},
                               {"2", "38", "4", "76", "有拼接焊缝无弯头", "24.00"}}));
    EXPECT_FALSE(one.tooLong);

    // With a kit: its 球号 is the one to fill in, 球径 beside it; for each of three kinds' balls,
    // the kit's 球号 after it and the 球号 to fill in empty.
    BytesSource kitText("球号,直径\nM,24\nL,43\n");
    const BallKit kit = *BallKit::Read(kitText);
    const PrintedRecord kitOne = RecordOf(
        "外径,壁厚,弯曲半径,类型\n38,4,76,有弯头无拼接焊缝\n76,5,68.4,有拼接焊缝无弯头\n", 2, &kit);
    EXPECT_EQ(std::vector<std::string>(kitOne.headings.begin() + 5, kitOne.headings.end()),
              (std::vector<std::string>{"选用通球", "球号", "球径", "结果", "检验员", "日期"}));
    EXPECT_EQ(kitOne.balls, 3U);
    EXPECT_EQ(kitOne.tubes, (Rows{{"1", "38", "4", "76", "有弯头无拼接焊缝", "24.00", "M", "24.00"},
                                  {"2", "76", "5", "68.4", "有拼接焊缝无弯头", "59.40", "", ""}}));
    const PrintedRecord kitThree = RecordOf("外径,壁厚,弯曲半径\n38,4,76\n", 1, &kit);
    EXPECT_EQ(
        std::vector<std::string>(kitThree.headings.begin() + 4, kitThree.headings.end()),
        (std::vector<std::string>{"有拼接焊缝无弯头", "球号", "有弯头无拼接焊缝", "球号",
                                  "有弯头有拼接焊缝", "球号", "球号", "结果", "检验员", "日期"}));
    EXPECT_EQ(kitThree.tubes,
              (Rows{{"1", "38", "4", "76", "24.00", "M", "24.00", "M", "24.00", "M"}}));

    // More tubes than are kept: none, rather than some.
    const PrintedRecord tooLong = RecordOf("外径,壁厚,弯曲半径\n38,4,76\n38,4,76\n38,4,76\n", 2);
    EXPECT_TRUE(tooLong.tooLong);
    EXPECT_TRUE(tooLong.tubes.empty());
}

// A cell the record's sheet cannot take, above the header, in it or in a tube's row, stops the
// workbook with the reason and the row.
TEST(RecordSheet, ACellItCannotWriteIsToldWithItsRow) {
    const std::string tooLong(32768, 'a');  // a cell holds 32,767 characters
    const TableRow header{.cells = {"外径", "壁厚", "弯曲半径"}, .line = 2};
    const RowResults headings{.column = 3, .heading = true};
    const RowResults results{.column = 3};
    struct Case {
        TableRow above;
        TableRow header;
        TableRow tube;
        long line;  // where it fails
    };
    const Case cases[] = {
        {{.cells = {tooLong}, .line = 1}, header, {.cells = {"38", "4", "76"}, .line = 3}, 1},
        {{.cells = {"订单"}, .line = 1},
         {.cells = {"外径", "壁厚", tooLong}, .line = 2},
         {.cells = {"38", "4", "76"}, .line = 3},
         2},
        {{.cells = {"订单"}, .line = 1}, header, {.cells = {"38", tooLong, "76"}, .line = 3}, 3},
    };
    for (const Case& c : cases) {
        Scratch file;
        WorkbookFile book(file.path);
        RecordSheet sheet(book, book.AddSheet("通球记录"), {});
        std::optional<TableError> error = sheet.Write(c.above, nullptr);
        if (!error) error = sheet.Write(c.header, &headings);
        if (!error) error = sheet.Write(c.tube, &results);
        ASSERT_TRUE(error) << c.line;
        EXPECT_EQ(error->fault, TableFault::OutputCellTooLong);
        EXPECT_EQ(error->line, c.line);
    }
    // What the record says it was made from, written when the sheet is set up, is told at its
    // first row.
    Scratch file;
    WorkbookFile book(file.path);
    RecordSheet sheet(book, book.AddSheet("通球记录"), {.inputName = tooLong});
    const auto error = sheet.Write(header, &headings);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, TableFault::OutputCellTooLong);
}

}  // namespace
}  // namespace tongqiu::table
