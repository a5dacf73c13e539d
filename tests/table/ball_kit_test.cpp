// The bench's kit: which ball it gives a tube, the kits it refuses, the kit's columns in a
// converted table.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tongqiu/table/ball_kit.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_writer.h"

namespace tongqiu::table {
namespace {

BallKit KitOf(const std::string& csv) {
    BytesSource in(csv);
    auto kit = BallKit::Read(in);
    EXPECT_TRUE(kit) << csv;
    return kit ? std::move(*kit) : BallKit{};
}

TEST(BallKit, ChoosesTheSmallestBallNotBelowTheNeedAndBelowTheInnerDiameter) {
    const BallKit kit = KitOf(
        "通球球库\n球号,直径(mm)\nA,23.99\nB,24.50\nC,24.50\nD,30\nE,24\nF,31.5\nG,17.50\nN,43."
        "999\n");
    struct Case {
        double ball;
        double inner;
        std::optional<double> maxOver;
        const char* chosen;  // "" for none
    };
    const Case cases[] = {
        {24.00, 30.00, std::nullopt, "E"},  // equal to the need; 23.99 is 0.01 below it
        {24.01, 30.00, std::nullopt, "B"},  // of two the same, the first in the kit
        {24.51, 30.00, std::nullopt, ""},   // 30 is the inner diameter: it cannot pass
        {24.51, 30.01, std::nullopt, "D"},
        {17.20, 30.00, 0.30, "G"},         // 0.30 over, at the edge
        {17.19, 30.00, 0.30, ""},          // 0.31 over
        {17.50, 17.50, std::nullopt, ""},  // no ball below the inner diameter
        {31.00, 40.00, std::nullopt, "F"},
        {31.60, 40.00, std::nullopt, ""},  // larger than every ball
    };
    for (const Case& c : cases) {
        const KitBall* chosen = kit.Choose(c.ball, c.inner, c.maxOver);
        EXPECT_EQ(chosen ? chosen->number : "", c.chosen) << c.ball << " in " << c.inner;
    }
    EXPECT_EQ(kit.Find(" C ")->diameterText, "24.50");
    EXPECT_EQ(kit.Find("D")->diameterText, "30.00");
    EXPECT_EQ(kit.Find("N")->diameterText, "43.999");  // as many places as were measured
    EXPECT_EQ(kit.Find("H"), nullptr);
}

TEST(BallKit, RefusesAKitItCannotTrustWithTheLineToBlame) {
    std::string large = "球号,直径\n";
    for (std::size_t i = 0; i <= kMaxKitBalls; ++i) large += std::to_string(i) + ",20\n";
    struct Case {
        std::string csv;
        TableFault fault;
        long line;
        std::string name;
    };
    const Case cases[] = {
        {"球号,外径\nA,20\n", TableFault::KitColumnMissing, 1, "直径"},
        {"编号,直径\nA,20\n", TableFault::KitColumnMissing, 1, "球号"},
        {"球号,直径,直径(mm)\nA,20,20\n", TableFault::ColumnTwice, 1, "直径"},
        {"球号,直径\nA,20\n ,21\n", TableFault::KitNumberEmpty, 3, ""},
        {"球号,直径\nA,20\nB,21\nA ,22\n", TableFault::KitNumberTwice, 4, "A"},
        {"球号,直径\nA,二十\n", TableFault::KitDiameterNotNumber, 2, "二十"},
        {"球号,直径\nA,\n", TableFault::KitDiameterNotNumber, 2, ""},
        {"球号,直径\nA,0\n", TableFault::KitDiameterNotPositive, 2, "0"},
        {"球号,直径\nA,-1\n", TableFault::KitDiameterNotPositive, 2, "-1"},
        {"球号,直径\n,\n", TableFault::KitEmpty, 0, ""},
        {large, TableFault::KitTooLarge, long(kMaxKitBalls) + 2, ""},
    };
    for (const Case& c : cases) {
        BytesSource in(c.csv);
        const auto kit = BallKit::Read(in);
        ASSERT_FALSE(kit) << c.csv.substr(0, 40);
        EXPECT_EQ(kit.error().fault, c.fault) << c.csv.substr(0, 40);
        EXPECT_EQ(kit.error().line, c.line) << c.csv.substr(0, 40);
        EXPECT_EQ(kit.error().name, c.name) << c.csv.substr(0, 40);
        if (c.fault == TableFault::KitNumberTwice) {
            EXPECT_EQ(kit.error().partLine, 2);
        }
    }
}

// A table of tubes converted with the kit, as CSV in memory.
class Collected : public TableWriter {
public:
    explicit Collected(std::vector<std::vector<std::string>>& rows) : m_rows(rows) {}
    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override {
        std::vector<std::string> cells = row.cells;
        if (results != nullptr)
            cells.insert(cells.end(), results->Texts().begin(), results->Texts().end());
        m_rows.push_back(cells);
        return std::nullopt;
    }
    std::optional<TableError> Finish() override { return std::nullopt; }

private:
    std::vector<std::vector<std::string>>& m_rows;
};

using Rows = std::vector<std::vector<std::string>>;

Rows Converted(const std::string& csv, const BallKit& kit, std::optional<double> maxOver,
               TableSummary& summary) {
    BytesSource in(csv);
    Rows rows;
    TableOptions options;
    options.kit = &kit;
    options.maxOver = maxOver;
    auto converted = ConvertTable(
        in, [&](const WriterRequest&) { return std::make_unique<Collected>(rows); }, options);
    EXPECT_TRUE(converted);
    if (converted) summary = *converted;
    return rows;
}

TEST(BallKit, ItsBallFollowsEachBallATubeIsTestedWith) {
    const BallKit kit = KitOf("球号,直径\nS,17.5\nM,24\nL,43\n");
    TableSummary summary;
    // Each kind's ball, each with the kit's ball after it; one not in the kit.
    const Rows three = Converted("外径,壁厚,弯曲半径\n76,5,68.4\n", kit, std::nullopt, summary);
    const std::vector<std::string> headings(three[0].end() - 10, three[0].end());
    EXPECT_EQ(headings, (std::vector<std::string>{"有拼接焊缝无弯头", "球号", "球径",
                                                  "有弯头无拼接焊缝", "球号", "球径",
                                                  "有弯头有拼接焊缝", "球号", "球径", "说明"}));
    const std::vector<std::string> balls(three[1].end() - 10, three[1].end());
    EXPECT_EQ(balls,
              (std::vector<std::string>{"59.40", "", "", "42.90", "L", "43.00", "42.90", "L",
                                        "43.00", "球库中没有直径在 59.40 与 66.00 mm 之间的球。"}));
    EXPECT_EQ(summary.rowsWithoutKitBall, 1U);
    EXPECT_EQ(summary.failedRows, 0U);

    // 选用通球 and its kit ball; --max-over narrows the range.
    const Rows one = Converted(
        "外径,壁厚,弯曲半径,类型\n38,4,76,有弯头无拼接焊缝\n32,3.5,48,有弯头无拼接焊缝\n"
        "38,19,76,有弯头无拼接焊缝\n",
        kit, 0.5, summary);
    EXPECT_EQ(std::vector<std::string>(one[0].end() - 4, one[0].end()),
              (std::vector<std::string>{"选用通球", "球号", "球径", "说明"}));
    EXPECT_EQ(std::vector<std::string>(one[1].end() - 4, one[1].end()),
              (std::vector<std::string>{"24.00", "M", "24.00", ""}));
    EXPECT_EQ(std::vector<std::string>(one[2].end() - 4, one[2].end()),
              (std::vector<std::string>{"17.50", "S", "17.50", ""}));
    // A tube that cannot be computed has no ball to look for.
    EXPECT_EQ(std::vector<std::string>(one[3].end() - 4, one[3].end() - 1),
              (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(summary.failedRows, 1U);
    EXPECT_EQ(summary.rowsWithoutKitBall, 0U);
    Converted("外径,壁厚,弯曲半径,类型\n38,4,76,有弯头无拼接焊缝\n", KitOf("球号,直径\nX,24.6\n"),
              0.5, summary);
    EXPECT_EQ(summary.rowsWithoutKitBall, 1U);
}

}  // namespace
}  // namespace tongqiu::table
