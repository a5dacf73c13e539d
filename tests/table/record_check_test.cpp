// A filled 通球记录 checked: each kind of problem once, in rows sorted and deleted.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tongqiu/table/record_check.h"

namespace tongqiu::table {
namespace {

BallKit Kit() {
    BytesSource in("球号,直径\nS,17.5\nM,24\nL,43\nXL,30\n");
    return *BallKit::Read(in);
}

struct Checked {
    std::string summary;
    std::vector<std::string> lines;
    std::vector<std::string> notes;
};

Checked Check(const std::string& csv, const BallKit* kit) {
    BytesSource in(csv);
    const auto check = CheckRecord(in, kit);
    EXPECT_TRUE(check) << (check ? "" : csv);
    if (!check) return {};
    Checked checked{CheckSummary(*check), {}, check->notes};
    for (const RecordProblem& problem : check->problems) {
        checked.lines.push_back(ProblemLine(*check, problem));
    }
    return checked;
}

const std::string kTop =
    "通球试验记录\n文件：管子.csv\n"
    "序号,图号,外径,壁厚,弯曲半径,类型,选用通球,球号,球径,结果,检验员,日期\n";
const std::string kKind = "有弯头无拼接焊缝";
const std::string kSigned = "检验员：王工　　日期：2026年12月9日\n审核：李工\n";

TEST(RecordCheck, EachProblemOfAFilledRecordOnceBySerialNumber) {
    const std::string tube = ",38,4,76," + kKind + ",24.00,";
    const std::string csv =
        kTop +  // sorted by hand: 10 first; 2 deleted
        "10,A10" + tube + "M,24.00,不合格,王工,2026-12-09\n" + "1,A1" + tube +
        "M,24.00,合格,王工,2026-12-09\n" + "3,A3" + tube + "M,24.00,,,\n" + "4,A4" + tube +
        "M,24.00,OK,王工,2026-12-09\n" + "5,A5" + tube + "M,24.00,合格,,2026-12-09\n" + "6,A6" +
        tube + "Z,24.00,合格,王工,2026-12-09\n" + "7,A7" + tube + "S,24.00,合格,王工,2026-12-09\n" +
        "8,A8,42,4,76," + kKind + ",24.00,M,24.00,合格,王工,2026-12-09\n" +
        "9,A9,38,4,76,有拼接焊缝无弯头,24.00,XL,30.00,合格,王工,2026-12-09\n" + "10,A10b" + tube +
        "M,24.00,合格,王工,2026-12-09\n" + "备注：第 2 根另行试验,,,,,,,,,,,\n" + kSigned +
        "监检：＿＿＿＿＿＿＿＿　　日期：＿＿＿＿年＿＿月＿＿日\n";
    const BallKit kit = Kit();
    const Checked checked = Check(csv, &kit);
    EXPECT_EQ(checked.summary, "共 10 根：合格 6，不合格 1，未检 2；问题 9 处。");
    EXPECT_EQ(checked.lines,
              (std::vector<std::string>{
                  "序号 2：记录中没有这根管子（行已删除？），未检。",
                  "序号 3（图号 A3）：没有结果（未检）。",
                  "序号 4（图号 A4）：结果“OK”应为“合格”或“不合格”。",
                  "序号 5（图号 A5）：有结果而没有检验员。",
                  "序号 6（图号 A6）：球号“Z”不在球库中。",
                  "序号 7（图号 A7）：球号 S 的直径 17.50 小于所需的通球 24.00 mm。",
                  // 外径 changed from 38 to 42 at the bench: the ball it needs is recomputed.
                  "序号 8（图号 A8）：球号 M 的直径 24.00 小于所需的通球 27.20 mm。",
                  "序号 9（图号 A9）：球号 XL 的直径 30.00 不小于内径 30.00 mm，通不过。",
                  "序号 10（图号 A10b）：序号重复：这根管子在记录中不止一行，只核对了第一行。",
              }));
    EXPECT_EQ(checked.notes,
              (std::vector<std::string>{"“监检”没有签字（不是每种产品都需要监检）。"}));
}

// Without a kit, the 球径 beside the 球号; without a kind, the smallest of the three kinds' balls
// (42.90 here); the lines to sign left blank or gone.
TEST(RecordCheck, WithoutKitOrKindAndUnsigned) {
    const std::string csv =
        "通球试验记录\n文件：管子.csv\n"
        "序号,外径,壁厚,弯曲半径,有拼接焊缝无弯头,有弯头无拼接焊缝,有弯头有拼接焊缝,球号,球径,结果,"
        "检验员,日期\n"
        "1,76,5,68.4,59.40,42.90,42.90,T1,42.90,合格,王工,46365\n"
        "2,76,5,68.4,59.40,42.90,42.90,T2,42.89,合格,王工,46365\n"
        "5,76,5,68.4,59.40,42.90,42.90,T5,43,不合格,王工,46365\n"
        "检验员：＿＿＿＿＿＿＿＿　　日期：＿＿＿＿年＿＿月＿＿日\n";
    const Checked checked = Check(csv, nullptr);
    EXPECT_EQ(checked.summary, "共 5 根：合格 2，不合格 1，未检 2；问题 4 处。");
    EXPECT_EQ(checked.lines, (std::vector<std::string>{
                                 "序号 2：球号 T2 的直径 42.89 小于所需的通球 42.90 mm。",
                                 "序号 3：记录中没有序号 3 至 4 的管子（行已删除？），未检。",
                                 "记录：“检验员”没有签字。",
                                 "记录：“审核”没有签字。",
                             }));
}

TEST(RecordCheck, ATableThatIsNoRecordIsRefused) {
    for (const std::string csv :
         {"外径,壁厚,弯曲半径\n38,4,76\n", "", "序号,结果,检验员\n1,合格,王\n"}) {
        BytesSource in(csv);
        const auto check = CheckRecord(in, nullptr);
        ASSERT_FALSE(check) << csv;
        EXPECT_EQ(check.error().fault, TableFault::NotRecord) << csv;
    }
}

}  // namespace
}  // namespace tongqiu::table
