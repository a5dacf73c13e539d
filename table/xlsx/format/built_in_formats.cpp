// The formats a workbook names by number alone, without their code: ECMA-376's, and for the
// numbers whose meaning depends on the system's language, what LibreOffice and Excel show in
// Chinese (currency in yuan, dates with 年 月 日, 上午/下午).
#include <array>

#include "xlsx/format/number_format.h"

namespace tongqiu::table {

std::string_view BuiltInFormatCode(int id) {
    static constexpr std::array<std::string_view, 59> kCodes{
        "General",
        "0",
        "0.00",
        "#,##0",
        "#,##0.00",
        R"("￥"#,##0;"￥"\-#,##0)",
        R"("￥"#,##0;[Red]"￥"\-#,##0)",
        R"("￥"#,##0.00;"￥"\-#,##0.00)",
        R"("￥"#,##0.00;[Red]"￥"\-#,##0.00)",
        "0%",
        "0.00%",
        "0.00E+00",
        "# ?/?",
        R"(# ??/??)",
        "yyyy-m-d",
        "d-mmm-yy",
        "d-mmm",
        "mmm-yy",
        "h:mm AM/PM",
        "h:mm:ss AM/PM",
        "h:mm",
        "h:mm:ss",
        "yyyy-m-d h:mm",
        "$#,##0_);($#,##0)",
        "$#,##0_);[Red]($#,##0)",
        "$#,##0.00_);($#,##0.00)",
        "$#,##0.00_);[Red]($#,##0.00)",
        R"(yyyy"年"m"月")",
        R"(m"月"d"日")",
        R"(m"月"d"日")",
        "m-d-yy",
        R"(yyyy"年"m"月"d"日")",
        R"(h"时"mm"分")",
        R"(h"时"mm"分"ss"秒")",
        R"(上午/下午h"时"mm"分")",
        R"(上午/下午h"时"mm"分"ss"秒")",
        R"(yyyy"年"m"月")",
        "#,##0;-#,##0",
        "#,##0;[Red]-#,##0",
        "#,##0.00;-#,##0.00",
        "#,##0.00;[Red]-#,##0.00",
        R"(_ * #,##0_ ;_ * \-#,##0_ ;_ * "-"_ ;_ @_ )",
        R"(_ "￥"* #,##0_ ;_ "￥"* \-#,##0_ ;_ "￥"* "-"_ ;_ @_ )",
        R"(_ * #,##0.00_ ;_ * \-#,##0.00_ ;_ * "-"??_ ;_ @_ )",
        R"(_ "￥"* #,##0.00_ ;_ "￥"* \-#,##0.00_ ;_ "￥"* "-"??_ ;_ @_ )",
        "mm:ss",
        "[h]:mm:ss",
        "mm:ss.0",
        "##0.0E+0",
        "@",
        R"(yyyy"年"m"月")",
        R"(m"月"d"日")",
        R"(yyyy"年"m"月")",
        R"(m"月"d"日")",
        R"(m"月"d"日")",
        R"(上午/下午h"时"mm"分")",
        R"(上午/下午h"时"mm"分"ss"秒")",
        R"(yyyy"年"m"月")",
        R"(m"月"d"日")",
    };
    return id >= 0 && id < static_cast<int>(kCodes.size()) ? kCodes[static_cast<std::size_t>(id)]
                                                           : std::string_view{};
}

}  // namespace tongqiu::table
