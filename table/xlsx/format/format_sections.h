#pragma once

// The pieces of a format code, read once per format: its sections, each a list of tokens, and
// what each section shows. The parts of the engine share them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xlsx/format/number_format.h"

namespace tongqiu::table::format {

enum class Token : std::uint8_t {
    Literal,      // text as it stands
    Digit,        // 0 # ?
    Point,        // the decimal point
    Percent,      // %: shown, and the number times 100
    Exponent,     // E+ or E-, `text` the sign
    Slash,        // a fraction's
    Denominator,  // a fraction's fixed denominator, `width` its value
    Text,         // @
    General,
    Year2,
    Year4,
    Month,
    Month2,
    MonthShort,   // mmm: 2月
    MonthLong,    // mmmm: 二月
    MonthLetter,  // mmmmm: 二
    Day,
    Day2,
    WeekdayShort,  // ddd, aaa: 二
    WeekdayLong,   // dddd, aaaa: 星期二
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    ElapsedHours,    // [h]: `width` letters
    ElapsedMinutes,  // [m]
    ElapsedSeconds,  // [s]
    SecondFraction,  // .0 after seconds: `width` digits
    AmPm,            // AM/PM, 上午/下午: `text` "A/P" for that form
};

struct Item {
    Token token = Token::Literal;
    std::string text;  // a literal's text; a digit's placeholder; an exponent's sign
    int width = 0;
};

enum class Kind : std::uint8_t { General, Number, DateTime, Text, Literal };

struct Condition {
    enum class Op : std::uint8_t { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };
    Op op = Op::Equal;
    double value = 0;
    [[nodiscard]] bool Holds(double number) const;
};

struct Section {
    std::vector<Item> items;
    std::optional<Condition> condition;
    Kind kind = Kind::Literal;
    Shows shows = Shows::Text;
    int numerals = 0;         // [DBNum1]-[DBNum3]: Chinese numerals
    int scale = 0;            // powers of ten the number is multiplied by (% +2, a scaling , -3)
    bool grouped = false;     // #,##0
    bool twelveHour = false;  // AM/PM
    int secondDigits = 0;     // the places of the seconds shown
    // The common numbers' format, read once so that each cell is quick: fixed decimals with one
    // 0 before the point (#,##0.00), texts before and after ("¥", "_ ", " mm"); -1 for others.
    int fixedPlaces = -1;
    std::string prefix;
    std::string suffix;
};

inline bool IsDateTime(Token token) { return token >= Token::Year2; }

// The section's first token of a kind, or none.
const Item* Find(const Section& section, Token token);

// What a section shows, once its tokens are read; none where they do not go together.
std::optional<Section> Classify(Section section);

// The token of a run of `count` date letters (y, m, d, h, s, a, e, lower case); Literal where
// they are none ("a", "aa").
Token DateToken(char letter, std::size_t count);

// Whether brackets hold a colour ("red", "红色", "color10"; given in lower case), which changes
// no text.
bool IsColour(std::string_view lower);

// A condition in brackets, without them ("<=99"); none where it is none.
std::optional<Condition> ReadCondition(std::string_view inside);

// The sections of a code, up to four, or none where it cannot be read.
std::optional<std::vector<Section>> ReadSections(std::string_view code);

// A number in a section of numbers; `sign`: whether a negative shows its minus.
ShownValue ShowNumber(const Section& section, double value, bool sign);

// A serial date and time in a section of dates and times.
std::string ShowDateTime(const Section& section, double value, bool date1904);

// Digits written in Chinese numerals, as [DBNum1], [DBNum2] and [DBNum3] show them: `count` as a
// number ("一千〇五"), or digit by digit ("二〇二六").
std::string Numerals(std::string_view digits, int style, bool count, bool leadingTen = true);

}  // namespace tongqiu::table::format
