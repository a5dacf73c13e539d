// Numbers as spreadsheets show them in a format: each case as LibreOffice Calc (zh-CN) shows it
// in its CSV "as shown", unless its comment says otherwise.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "xlsx/format/number_format.h"

namespace tongqiu::table {
namespace {

struct Case {
    const char* code;
    double value;
    const char* shown;
};

std::string Show(const char* code, double value, bool date1904 = false) {
    const auto parsed = NumberFormatCode::Parse(code);
    return parsed ? parsed->Show(value, date1904).text : "(unread)";
}

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(Show(c.code, c.value), c.shown) << c.code << " of " << c.value;
    }
}

TEST(NumberFormat, DecimalsGroupingAndScaling) {
    Check({
        {"General", 38.004, "38.004"},
        {"General", 38, "38"},
        {"General", 0.1 + 0.2, "0.3"},
        {"General", 0.000000015, "0.000000015"},
        {"General", 1.25e-10, "1.25E-10"},
        {"General", 123456789012345678.0, "1.23456789012346E+017"},
        {"General", 1e15, "1000000000000000"},
        {"General", 1e16, "1E+016"},
        {"G/通用格式", -4.5, "-4.5"},
        {"0.00_ ", 38.004, "38.00 "},
        {"0.00_ ", -1234.567, "-1234.57 "},
        {"0.0", 19.45, "19.5"},  // the double is 19.4499...
        {"0.00", 9.995, "10.00"},
        {"0.00", -0.001, "0.00"},  // no minus before a zero
        {"0", -2.5, "-3"},
        {"#,##0", 3000, "3,000"},
        {"0,0", 3000, "3,000"},
        {"#,##0.00", -1234567.891, "-1,234,567.89"},
        {"#,###", 0, ""},
        {"#.##", 0.5, ".5"},
        {"#.##", 10, "10"},
        {".##", 38, "38"},
        {".00", 38.5, "38.50"},
        {".0", 38.04, "38.0"},
        {"0.0#", 1, "1.0"},
        {"00000", 38.004, "00038"},
        {"000-0000", 123456789, "12345-6789"},
        {"0.0,", 46359.5, "46.4"},
        {"#,##0.00,", 123456789.123, "123,456.79"},
        {"0.0\"mm\"", 38.004, "38.0mm"},
        {"\"\"0.0", 38.04, "38.0"},
        {"0.0 \"mm\"", -1234.567, "-1234.6 mm"},
        {"\\(0.0\\)", -1234.567, "-(1234.6)"},
        {"0.00*-", 38.004, "38.00"},
        {"0.0_", 1, "1.0"},                // room for no character: none
        {"0.0_\u0905*\u0905", 1, "1.0 "},  // room and fill for a character of three bytes
        {"¥#,##0.00", -1234.567, "-¥1,234.57"},
        {"[$¥-804]#,##0.00", 38.004, "¥38.00"},
        {"[Red]0.00", 38.004, "38.00"},
        {"[红色]0.00", 38.004, "38.00"},  // Excel's colour in Chinese
        {"[Color10]0.00", -1, "-1.00"},
        {"[颜色10]0.00", -1, "-1.00"},
    });
}

TEST(NumberFormat, SectionsAndConditions) {
    Check({
        {"0.00_);(0.00)", -1234.567, "(1234.57)"},
        {"0.00_);(0.00)", 38.004, "38.00 "},
        {"#,##0.00_ ;[Red]-#,##0.00 ", -1234.567, "-1,234.57 "},
        {"0_);(0)", 0.5, "1 "},
        {"0.00;-0.00;0.00", -1234.567, "-1234.57"},
        {"0.00;-0.00;\"zero\"", -0.004, "-0.00"},  // the negative section, by the value
        {"0.00;(0.00)", -0.004, "(0.00)"},
        {R"(0.00;(0.00);"zero")", 0.5, "0.50"},
        {R"(0.00;(0.00);"zero")", 0, "zero"},
        {"0;-0;;@", 0, ""},
        {"[<=99]0.0;0", -1234.567, "-1234.6"},
        {"[<=99]0.0;0", 46359.5, "46360"},
        {"[>100]0;[>50]0.0;0.00", 75, "75.0"},
        {R"([<100]"small";0)", 100, "100"},
        {R"([>=100]"big";[<0]"neg";0.00)", -5, "neg"},
        {R"([>=100]"big";[<0]"neg";0.00)", 9.995, "10.00"},
        {R"(_ * #,##0.00_ ;_ * \-#,##0.00_ ;_ * "-"??_ ;_ @_ )", 0, " -   "},
        {R"(_ * #,##0.00_ ;_ * \-#,##0.00_ ;_ * "-"??_ ;_ @_ )", -1234.567, " -1,234.57 "},
    });
}

TEST(NumberFormat, PercentScientificAndFractions) {
    Check({
        {"0.00%", 38.004, "3800.40%"},
        {"0%", -1234.567, "-123457%"},
        {"0.0E+00", 38.004, "3.8E+01"},
        {"0.0E+00", 9.995, "1.0E+01"},  // a carry into the next power of ten
        {"0.00E+00", 0.5, "5.00E-01"},
        {"0.000E+00", 1e15 + 0.3, "1.000E+15"},
        {"##0.0E+0", 0.5, "500.0E-3"},
        {"##0.0E+0", 46359.5, "46.4E+3"},
        {"##0.0E+0", 0, "0.0E+0"},
        {"00.0E+00", 3000, "30.0E+02"},
        {"#.0E+0", 0, "0.0E+0"},
        {"# ?/?", -1234.567, "-1234 4/7"},
        {"# ?/?", 38, "38    "},
        {"# ?/?", 0.5, " 1/2"},
        {"# ?/?", 0, "0    "},
        {"# ?\?/??", -1234.567, "-1234 55/97"},
        {"# ?\?/??", 46359.5, "46359  1/2 "},
        {"?/?", -1234.567, "-8642/7"},
        {"?/?", -0.25, "-1/4"},
        {"# ?/?", -38, "-38    "},
        {"# ?/?", -0.5, "- 1/2"},
        {"0 ?/?", 0.5, "0 1/2"},
        {"# ?/8", 0.5, " 4/8"},
        {"# ?\?/100", 2.5, "2 50/100"},
    });
}

TEST(NumberFormat, DatesAndTimes) {
    Check({
        {"yyyy\"年\"m\"月\"d\"日\"", 46359.5, "2026年12月3日"},
        {"[$-804]yyyy\"年\"m\"月\"d\"日\"", 46359.5, "2026年12月3日"},
        {"[$-x-sysdate]dddd, mmmm dd, yyyy", 46359.5, "2026年12月3日"},  // Excel's long date
        {"yyyy-mm-dd", 46359.5, "2026-12-03"},
        {"yyyy/m/d", 46359.5, "2026/12/3"},
        {"yyyy.mm.dd", 46359.5, "2026.12.03"},
        {"d-mmm-yy", 46359.5, "3-12月-26"},
        {"mmmm", 46359.5, "十二月"},
        {"mmmmm", 46359.5, "十"},
        {"aaaa", 46359.5, "星期四"},
        {"aaa", 46359.5, "四"},
        {"yyyy\"年\"m\"月\"d\"日\" aaaa", 61, "1900年3月1日 星期四"},
        // Day 60 is 29 February 1900, which spreadsheets count; Excel's days before it.
        {"yyyy-mm-dd", 59, "1900-02-28"},
        {"yyyy-mm-dd", 60, "1900-02-29"},
        {"yyyy-mm-dd", 61, "1900-03-01"},
        {"yyyy-mm-dd", 36585, "2000-02-29"},  // leap days of the calendar's cycles
        {"yyyy-mm-dd", 45351, "2024-02-29"},
        {"yyyy-mm-dd", 73110, "2100-03-01"},
        {"yyyy-mm-dd", -0.004, "1899-12-29"},
        {"yyyy-mm-dd", 2958465.9, "9999-12-31"},  // the last day shown; the next is none
        {"yyyy-mm-dd", 2958466, "#####"},
        {"h:mm AM/PM", 46359.5, "12:00 下午"},
        {"A/P h", 0.75, "P 6"},
        {"上午/下午h\"时\"mm\"分\"", 0.75, "下午6时00分"},
        {"h\"时\"mm\"分\"ss\"秒\"", 0.75, "18时00分00秒"},
        {"h:mm:ss", 0.5 + 0.4 / 86400, "12:00:00"},
        {"h:mm:ss", 0.5 + 0.6 / 86400, "12:00:01"},   // Excel rounds to the second shown
        {"mm:ss.0", 0.5 + 59.96 / 86400, "01:00.0"},  // into the next minute
        {"mm:ss.0", 38.004, "05:45.6"},
        {"[h]:mm:ss", -0.004, "-0:05:46"},
        {"[h]:mm:ss", 38.004, "912:05:46"},
        {"[mm]:ss", 0.5 + 59.6 / 86400, "721:00"},
        {"[ss]", 0.5, "43200"},
        {"yyyy-m-d h:mm", 46359.5, "2026-12-3 12:00"},
    });
    EXPECT_EQ(Show("yyyy-mm-dd", 0, true), "1904-01-01");
    EXPECT_EQ(Show("yyyy-mm-dd", 44897, true), "2026-12-03");
}

TEST(NumberFormat, ChineseNumerals) {
    Check({
        {"[DBNum1]General", 38.004, "三十八．〇〇四"},
        {"[DBNum1]General", 46359.5, "四万六千三百五十九．五"},
        {"[DBNum2]General", -1234.567, "-壹仟贰佰叁拾肆点伍陆柒"},
        {"[DBNum3]General", 38.004, "３８．００４"},
        {"[DBNum1]0", 1005, "一千〇五"},
        {"[DBNum1]0", 110, "一百一十"},
        {"[DBNum1]0", 10, "一十"},
        {"[DBNum1]0", 123456789, "一亿二千三百四十五万六千七百八十九"},
        {"[DBNum2]0.00", 0.5, "零点伍零"},
        {"[DBNum1][$-804]yyyy\"年\"m\"月\"d\"日\"", 46359.5, "二〇二六年十二月三日"},
        {"[DBNum2]yyyy\"年\"m\"月\"d\"日\"", 110, "壹玖零零年肆月拾玖日"},
        {"[DBNum3]yyyy\"年\"m\"月\"d\"日\"", 110, "１９００年４月１９日"},
    });
}

TEST(NumberFormat, TextAndWhatCannotBeRead) {
    const auto accounting = NumberFormatCode::Parse(R"(_ * #,##0_ ;_ * \-#,##0_ ;_ * "-"_ ;_ @_ )");
    ASSERT_TRUE(accounting);
    EXPECT_EQ(accounting->ShowText("外径"), " 外径 ");
    EXPECT_EQ(Show("@", 38.004), "38.004");
    EXPECT_TRUE(NumberFormatCode::Parse("General")->IsGeneral());
    EXPECT_FALSE(NumberFormatCode::Parse("General;-General")->IsGeneral());
    EXPECT_FALSE(NumberFormatCode::Parse("General\" mm\"")->IsGeneral());
    for (const char* code :
         {"0.00\"mm", "[Blau]0", "[Colorx1]0", "0;0;0;0;0", "0.0 yyyy", "[<abc]0", "0/"}) {
        EXPECT_FALSE(NumberFormatCode::Parse(code)) << code;
    }
}

// What a dimension is read from: the number shown, or nothing for a percent, a fraction or a date.
TEST(NumberFormat, TheNumberShownAndWhatItShows) {
    struct Kind {
        const char* code;
        double value;
        Shows shows;
        const char* number;
    };
    const Kind cases[] = {
        {"#,##0", 3000, Shows::Number, "3000"},
        {"0.0\"mm\"", 38.04, Shows::Number, "38.0"},
        {"¥#,##0.00", 38, Shows::Number, "38.00"},
        {"0.00_);(0.00)", -4, Shows::Number, "-4.00"},
        {"0.0E+00;(0.0E+00)", -38, Shows::Number, "-3.8E+1"},
        {"0.0E+00", 38.004, Shows::Number, "3.8E+1"},
        {"0.00%", 0.5, Shows::Percent, ""},
        {"# ?/?", 0.5, Shows::Fraction, ""},
        {"yyyy-mm-dd", 46359, Shows::Date, ""},
        {"h:mm", 0.5, Shows::Time, ""},
    };
    for (const Kind& c : cases) {
        const ShownValue shown = NumberFormatCode::Parse(c.code)->Show(c.value, false);
        EXPECT_EQ(shown.shows, c.shows) << c.code;
        EXPECT_EQ(shown.number, c.number) << c.code;
    }
}

// Each built-in format by its number alone, as LibreOffice (zh-CN) shows -1234.567 in it.
TEST(NumberFormat, BuiltInsByNumber) {
    const char* const shown[] = {"-1234.567",    "-1235",           "-1234.57",
                                 "-1,235",       "-1,234.57",       "￥-1,235",
                                 "￥-1,235",     "￥-1,234.57",     "￥-1,234.57",
                                 "-123457%",     "-123456.70%",     "-1.23E+03",
                                 "-1234 4/7",    "-1234 55/97",     "1896-8-12",
                                 "12-8月-96",    "12-8月",          "8月-96",
                                 "10:23 上午",   "10:23:31 上午",   "10:23",
                                 "10:23:31",     "1896-8-12 10:23", "($1,235)",
                                 "($1,235)",     "($1,234.57)",     "($1,234.57)",
                                 "1896年8月",    "8月12日",         "8月12日",
                                 "8-12-96",      "1896年8月12日",   "10时23分",
                                 "10时23分31秒", "上午10时23分",    "上午10时23分31秒",
                                 "1896年8月",    "-1,235",          "-1,235",
                                 "-1,234.57",    "-1,234.57",       " -1,235 ",
                                 " ￥-1,235 ",   " -1,234.57 ",     " ￥-1,234.57 ",
                                 "23:31",        "-29629:36:29",    "23:31.2",
                                 "-1.2E+3",      "-1234.567",       "1896年8月",
                                 "8月12日",      "1896年8月",       "8月12日",
                                 "8月12日",      "上午10时23分",    "上午10时23分31秒",
                                 "1896年8月",    "8月12日"};
    for (int id = 0; id < static_cast<int>(std::size(shown)); ++id) {
        EXPECT_EQ(Show(std::string(BuiltInFormatCode(id)).c_str(), -1234.567), shown[id]) << id;
    }
    EXPECT_EQ(BuiltInFormatCode(59), "");
}

}  // namespace
}  // namespace tongqiu::table
