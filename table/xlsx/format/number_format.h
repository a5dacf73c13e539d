#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/table/row.h"

namespace tongqiu::table {

// A number format as spreadsheets write its code ("#,##0.00_);(#,##0.00)",
// "yyyy\"年\"m\"月\"d\"日\"", "0.0E+00", "# ?/?", "[<=99]0.0;0", "[DBNum1]General", ...), and the
// text a cell shows in it, as LibreOffice Calc (zh-CN) writes it when it saves a sheet as CSV "as
// shown". Numbers round from their 15 significant digits, half away from zero.

struct ShownValue {
    std::string text;  // as the cell shows it
    Shows shows = Shows::Number;
    // A Number's digits, point and exponent as shown, with the value's sign ("-1234.57" for
    // "(1,234.57)", "38.0" for "38.0mm"); empty for the rest.
    std::string number;
};

// The most characters a number is shown in; a longer text falls back to General.
inline constexpr std::size_t kMaxShownCharacters = 255;

namespace format {
struct Section;
}  // namespace format

class NumberFormatCode {
public:
    // The code read, or none where it is no format code that this program knows how to show.
    static std::optional<NumberFormatCode> Parse(std::string_view code);

    NumberFormatCode(const NumberFormatCode&) = delete;
    NumberFormatCode(NumberFormatCode&&) noexcept;
    NumberFormatCode& operator=(const NumberFormatCode&) = delete;
    NumberFormatCode& operator=(NumberFormatCode&&) noexcept;
    ~NumberFormatCode();

    // A number as the format shows it; `date1904`: the workbook counts its dates from 1904.
    [[nodiscard]] ShownValue Show(double value, bool date1904) const;
    // A text cell in the format: the text section's literals around it, or the text alone.
    [[nodiscard]] std::string ShowText(std::string_view text) const;
    // Whether it shows numbers as General does (and nothing else around them).
    [[nodiscard]] bool IsGeneral() const;
    // Whether it shows a text otherwise than as it is.
    [[nodiscard]] bool ShowsText() const { return m_textSection >= 0; }

private:
    NumberFormatCode();
    std::vector<format::Section> m_sections;
    int m_textSection = -1;  // the section that shows text, if any
};

// The code a built-in format stands for, by its number: ECMA-376's, the ones LibreOffice and
// Chinese Excel show for the others; empty for a number no spreadsheet gives a meaning.
std::string_view BuiltInFormatCode(int id);

// The serial number a workbook keeps for a day of the calendar, in its 1900 or 1904 system.
double DateSerial(int year, int month, int day, bool date1904);

// A number as General shows it: up to 15 significant digits, an exponent ("1E+016", "1.25E-10")
// from 1E+16 or below 1E-09.
std::string GeneralText(double value);

}  // namespace tongqiu::table
