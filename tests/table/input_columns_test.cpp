#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sstream>

#include "csv/csv.h"
#include "csv/csv_writer.h"
#include "input_columns.h"
#include "tongqiu/table/table_conversion.h"

namespace tongqiu::table {
namespace {

// A header's cells, split at its commas.
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) c == ',' ? (void)cells.emplace_back() : cells.back().push_back(c);
    return cells;
}

// The columns found as "outer wall bend [size S] [kind K]", or the error as "missing X"/"twice X".
std::string Found(const std::string& header) {
    const auto columns = FindInputColumns(Cells(header));
    if (!columns) {
        const bool missing = columns.error().fault == TableFault::ColumnMissing;
        return (missing ? "missing " : "twice ") + columns.error().name;
    }
    std::string found;
    for (const std::size_t column : columns->inputs) {
        found.append(found.empty() ? "" : " ").append(std::to_string(column));
    }
    if (columns->size) found.append(" size ").append(std::to_string(*columns->size));
    if (columns->kind) found.append(" kind ").append(std::to_string(*columns->kind));
    return found;
}

TEST(InputColumns, FoundByHeadingInAnyPositionOrNamedWhenMissing) {
    const std::pair<std::string, std::string> headers[] = {
        {"外径,壁厚,弯曲半径", "0 1 2"},
        {"R,t,Dw", "2 1 0"},
        {"备注,dw \u3000, T\t,\u3000r（mm）", "1 2 3"},
        {"外径(mm),壁厚 (mm),弯曲半径", "0 1 2"},
        {"外径,壁厚", "missing 弯曲半径"},
        {"外径径,壁厚,弯曲半径,Dwt", "missing 外径"},
        {"外径,壁厚,弯曲半径,t", "twice 壁厚"},
        // 规格 in place of 外径 and 壁厚, and only then; 类型 wherever it is.
        {"管号,规格（mm）,弯曲半径", "0 0 2 size 1"},
        {"规格,外径,弯曲半径", "1 0 2 size 0"},
        {"规格,外径,壁厚,弯曲半径,规格", "1 2 3"},
        {"规格,弯曲半径,规格", "twice 规格"},
        {"类型,规格,R", "0 0 2 size 1 kind 0"},
        {"外径,壁厚,R,类型 ", "0 1 2 kind 3"},
        {"外径,壁厚,R,类型,类型", "twice 类型"},
        {"规格型号,R", "missing 外径"}};
    for (const auto& [header, expected] : headers) EXPECT_EQ(Found(header), expected) << header;
}

// What a 规格 cell gives, as "outer|wall", or "refused".
std::string Size(std::string_view text) {
    const auto size = ReadTubeSize(text);
    return size ? std::string(size->outer) + "|" + std::string(size->wall) : "refused";
}

TEST(TubeSize, TheFormsDrawingsWriteAndNothingElse) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Φ38×4", "38|4"},
        {" φ 38 x 4.5 ", "38|4.5"},
        {"Ø51X5", "51|5"},
        {"ø60*6", "60|6"},
        {"\u3000３８＊４。５\u3000", "３８|４。５"},
        {"38×4", "38|4"},
        {"1e400×4", "1e400|4"},  // a number, too large: the calculation says so
        {"Φ38", "refused"},
        {"Φ38×", "refused"},
        {"×4", "refused"},
        {"ΦΦ38×4", "refused"},
        {"Φ38×4mm", "refused"},
        {"DN32", "refused"},
        {"", "refused"}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(Size(text), expected) << text;
}

TEST(TubeKind, TheWindowsCaptionsInEitherOrder) {
    const std::pair<std::string_view, std::optional<FieldName>> cases[] = {
        {"有拼接焊缝无弯头", FieldName::Text4},
        {" 无弯头有拼接焊缝\u3000", FieldName::Text4},
        {"有弯头无拼接焊缝", FieldName::Text5},
        {"无拼接焊缝有弯头", FieldName::Text5},
        {"有弯头有拼接焊缝", FieldName::Text6},
        {"有拼接焊缝有弯头", FieldName::Text6},
        {"有弯头", std::nullopt},
        {"无弯头无拼接焊缝", std::nullopt},
        {"有拼接焊缝无弯头有", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(ReadTubeKind(text), expected) << text;
}

// A CSV table converted: its rows as cells (the header's included), and how many failed.
std::pair<std::vector<std::vector<std::string>>, std::size_t> Converted(const std::string& csv) {
    BytesSource in(csv);
    std::string out;
    const auto summary = ConvertTable(in, [&](const WriterRequest& request) {
        return std::make_unique<CsvWriter>(
            [&](std::string_view bytes) {
                out.append(bytes);
                return true;
            },
            request.encoding);
    });
    EXPECT_TRUE(summary);
    std::vector<std::vector<std::string>> rows;
    CsvReader reader([&](const TableRow& row) {
        rows.push_back(row.cells);
        return std::nullopt;
    });
    (void)reader.Feed(out.substr(kUtf8ByteOrderMark.size()));
    (void)reader.Finish();
    return {rows, summary ? summary->failedRows : 0};
}

TEST(TubeColumns, ASizeGivesWhatTwoColumnsGiveAndAKindChoosesItsBall) {
    const auto [two, twoFailed] = Converted("管号,外径,壁厚,弯曲半径\n1,60,5,100\n2,51,5,300\n");
    const auto [one, oneFailed] =
        Converted("管号,规格(mm),弯曲半径\n1,Φ60×5,100\n2, ø５１ｘ5 ,300\n3,60/5,100\n");
    ASSERT_EQ(one.size(), 4U);
    for (std::size_t row = 1; row < 3; ++row) {
        EXPECT_EQ(std::vector(one[row].begin() + 3, one[row].end()),
                  std::vector(two[row].begin() + 4, two[row].end()));
    }
    EXPECT_EQ(one[3].back(), "规格应写作 Φ外径×壁厚，如 Φ38×4。");
    EXPECT_EQ(oneFailed, 1U);
    EXPECT_EQ(twoFailed, 0U);

    // Each row's ball is the one under its kind's heading, where the three differ.
    const auto [kinds, failed] = Converted(
        "外径,壁厚,弯曲半径,类型\n60,5,100,有拼接焊缝无弯头\n51,5,300,有弯头无拼接焊缝\n"
        "51,5,300,有弯头有拼接焊缝\n51,5,300,\n51,5,-1,有弯头有拼接焊缝\n");
    ASSERT_EQ(kinds.size(), 6U);
    const auto& header = kinds[0];
    ASSERT_EQ(header.size(), 4U + 13U);
    EXPECT_EQ(header[15], "选用通球");
    EXPECT_EQ(header[16], "说明");
    for (std::size_t row = 1; row < 4; ++row) {
        const auto kind = std::find(header.begin(), header.end(), kinds[row][3]) - header.begin();
        EXPECT_EQ(kinds[row][15], kinds[row][kind]) << row;
        EXPECT_NE(kinds[row][15], kinds[row][kind == 13 ? 12 : 13]) << row;
        EXPECT_EQ(kinds[row][16], "") << row;
    }
    EXPECT_EQ(kinds[4][14], "34.85");  // the results stay, the row fails
    EXPECT_EQ(kinds[4][15], "");
    EXPECT_NE(kinds[4][16].find("有弯头有拼接焊缝"), std::string::npos);
    EXPECT_EQ(kinds[5][15], "");
    EXPECT_EQ(kinds[5][16], "弯曲半径不能小于 0。请修改后再计算。");
    EXPECT_EQ(failed, 2U);
}

}  // namespace
}  // namespace tongqiu::table
