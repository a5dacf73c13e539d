// What the pieces of a format code mean: the letters of dates and times, colours and conditions
// in brackets; and what a section is once its tokens are read: its kind, what it shows, the quick
// form of the common numbers.
#include <algorithm>
#include <array>

#include "tongqiu/float_chars.h"
#include "xlsx/format/format_sections.h"

namespace tongqiu::table::format {
namespace {

bool Has(const Section& section, Token token) { return Find(section, token) != nullptr; }

// Whether the section is texts around #,##0.00: #'s, one 0, a point and 0's.
void FindFixed(Section& section) {
    const auto& items = section.items;
    std::size_t first = 0;
    std::size_t end = items.size();
    if (first < end && items[first].token == Token::Literal) ++first;
    if (end > first && items[end - 1].token == Token::Literal) --end;
    std::string pattern;
    for (std::size_t i = first; i < end; ++i) {
        if (items[i].token == Token::Digit) {
            pattern += items[i].text;
        } else if (items[i].token == Token::Point) {
            pattern += '.';
        } else {
            return;
        }
    }
    const auto point = std::min(pattern.find('.'), pattern.size());
    const std::string_view whole = std::string_view(pattern).substr(0, point);
    const std::string_view decimals = std::string_view(pattern).substr(point);
    if (whole.empty() || whole.back() != '0' || whole.find_first_not_of('#') != whole.size() - 1 ||
        decimals == "." || decimals.find_first_not_of('0', 1) != std::string_view::npos ||
        section.numerals != 0) {
        return;
    }
    section.fixedPlaces = decimals.empty() ? 0 : static_cast<int>(decimals.size()) - 1;
    if (first > 0) section.prefix = items.front().text;
    if (end < items.size()) section.suffix = items.back().text;
}

// A number's parts in their order: digits before any exponent's and a fraction's parts.
bool NumberFits(const Section& section) {
    const auto& items = section.items;
    const auto at = [&](Token token) {
        return std::find_if(items.begin(), items.end(),
                            [&](const Item& item) { return item.token == token; });
    };
    const auto digitAfter = [&](auto from) {
        return std::any_of(from, items.end(), [](const Item& item) {
            return item.token == Token::Digit || item.token == Token::Denominator;
        });
    };
    if (!Has(section, Token::Digit)) return false;
    const auto exponent = at(Token::Exponent);
    const auto slash = at(Token::Slash);
    if (exponent != items.end() && (slash != items.end() || !digitAfter(exponent))) return false;
    return slash == items.end() || (digitAfter(slash) && at(Token::Point) == items.end());
}

}  // namespace

const Item* Find(const Section& section, Token token) {
    for (const Item& item : section.items) {
        if (item.token == token) return &item;
    }
    return nullptr;
}

std::optional<Section> Classify(Section section) {
    auto& items = section.items;
    // m and mm after hours or before seconds are minutes.
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].token != Token::Month && items[i].token != Token::Month2) continue;
        const auto near = [&](auto first, auto last) -> std::optional<Token> {
            const auto found =
                std::find_if(first, last, [](const Item& item) { return IsDateTime(item.token); });
            return found == last ? std::nullopt : std::optional(found->token);
        };
        const auto before =
            near(items.rbegin() + static_cast<std::ptrdiff_t>(items.size() - i), items.rend());
        const auto after = near(items.begin() + static_cast<std::ptrdiff_t>(i + 1), items.end());
        const bool minute = before == Token::Hour || before == Token::Hour2 ||
                            before == Token::ElapsedHours || after == Token::Second ||
                            after == Token::Second2 || after == Token::ElapsedSeconds;
        if (minute) {
            items[i].token = items[i].token == Token::Month ? Token::Minute : Token::Minute2;
        }
    }
    const bool dateTime = std::any_of(items.begin(), items.end(),
                                      [](const Item& item) { return IsDateTime(item.token); });
    const bool number = std::any_of(items.begin(), items.end(), [](const Item& item) {
        return item.token == Token::Digit || item.token == Token::Point ||
               item.token == Token::Exponent || item.token == Token::Slash ||
               item.token == Token::Denominator || item.token == Token::Percent;
    });
    const bool general = Has(section, Token::General);
    if (int(dateTime) + int(number) + int(general) > 1) return std::nullopt;
    if (dateTime) {
        section.kind = Kind::DateTime;
        section.twelveHour = Has(section, Token::AmPm);
        const bool date = std::any_of(items.begin(), items.end(), [](const Item& item) {
            return item.token >= Token::Year2 && item.token <= Token::WeekdayLong;
        });
        section.shows = date ? Shows::Date : Shows::Time;
    } else if (general) {
        section.kind = Kind::General;
        section.shows = Shows::Number;
    } else if (number) {
        if (!NumberFits(section)) return std::nullopt;
        section.kind = Kind::Number;
        FindFixed(section);
        section.shows = Has(section, Token::Slash)     ? Shows::Fraction
                        : Has(section, Token::Percent) ? Shows::Percent
                                                       : Shows::Number;
    } else {
        section.kind = Has(section, Token::Text) ? Kind::Text : Kind::Literal;
        section.shows = Shows::Text;
    }
    return section;
}

bool Condition::Holds(double number) const {
    switch (op) {
        case Op::Less:
            return number < value;
        case Op::LessEqual:
            return number <= value;
        case Op::Greater:
            return number > value;
        case Op::GreaterEqual:
            return number >= value;
        case Op::Equal:
            return number == value;
        case Op::NotEqual:
            return number != value;
    }
    return false;
}

std::optional<Condition> ReadCondition(std::string_view inside) {
    using Op = Condition::Op;
    struct Operator {
        std::string_view text;
        Op op;
    };
    constexpr std::array<Operator, 6> kOperators{{{"<=", Op::LessEqual},
                                                  {">=", Op::GreaterEqual},
                                                  {"<>", Op::NotEqual},
                                                  {"<", Op::Less},
                                                  {">", Op::Greater},
                                                  {"=", Op::Equal}}};
    for (const Operator& candidate : kOperators) {
        if (!inside.starts_with(candidate.text)) continue;
        std::string_view number = inside.substr(candidate.text.size());
        const bool negative = number.starts_with('-');
        if (negative) number.remove_prefix(1);
        double value = 0;
        const auto read = ReadDouble(number.data(), number.data() + number.size(), value);
        if (number.empty() || read.ec != std::errc{} || read.ptr != number.data() + number.size()) {
            return std::nullopt;
        }
        return Condition{candidate.op, negative ? -value : value};
    }
    return std::nullopt;
}

Token DateToken(char letter, std::size_t count) {
    const auto n = static_cast<int>(count);
    switch (letter) {
        case 'y':
        case 'e':  // the year of the era: the year itself
            return n <= 2 && letter == 'y' ? Token::Year2 : Token::Year4;
        case 'm':
            return n == 1   ? Token::Month
                   : n == 2 ? Token::Month2
                   : n == 3 ? Token::MonthShort
                   : n == 4 ? Token::MonthLong
                            : Token::MonthLetter;
        case 'd':
            return n == 1   ? Token::Day
                   : n == 2 ? Token::Day2
                   : n == 3 ? Token::WeekdayShort
                            : Token::WeekdayLong;
        case 'h':
            return n == 1 ? Token::Hour : Token::Hour2;
        case 's':
            return n == 1 ? Token::Second : Token::Second2;
        default:  // 'a': aaa and aaaa are the weekday
            return n < 3 ? Token::Literal : n == 3 ? Token::WeekdayShort : Token::WeekdayLong;
    }
}

bool IsColour(std::string_view lower) {
    static constexpr std::array<std::string_view, 16> kColours{
        "black", "blue", "cyan", "green", "magenta", "red",  "white", "yellow",
        "黑色",  "蓝色", "青色", "绿色",  "洋红",    "红色", "白色",  "黄色"};
    const bool numbered =
        (lower.starts_with("color") || lower.starts_with("颜色")) &&
        lower.find_first_not_of("0123456789", lower[0] == 'c' ? 5 : 6) == std::string_view::npos;
    return numbered || std::find(kColours.begin(), kColours.end(), lower) != kColours.end();
}

}  // namespace tongqiu::table::format
