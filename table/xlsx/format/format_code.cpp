// Reading a format code into its sections and their tokens, once per format.
#include <algorithm>
#include <array>

#include "tongqiu/float_chars.h"
#include "xlsx/format/format_sections.h"

namespace tongqiu::table::format {
namespace {

constexpr std::string_view kGeneralChinese = "G/通用格式";  // how Chinese Excel writes General
constexpr std::string_view kChineseAmPm = "上午/下午";
// What the dialogs' "system" long date and time ([$-x-sysdate], [$-F800]) show on a Chinese system.
constexpr std::string_view kLongDate = "yyyy\"年\"m\"月\"d\"日\"";
constexpr std::string_view kLongTime = "h:mm:ss";

constexpr std::array<std::string_view, 16> kColours{
    "black", "blue", "cyan", "green", "magenta", "red",  "white", "yellow",
    "黑色",  "蓝色", "青色", "绿色",  "洋红",    "红色", "白色",  "黄色"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

bool StartsWithNoCase(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && LowerText(text.substr(0, word.size())) == word;
}

bool IsPlaceholder(char c) { return c == '0' || c == '#' || c == '?'; }

// The bytes of the UTF-8 character at the start of `text`: its lead and the continuation bytes
// that follow it (none past a byte that could stand alone, such as a quote).
std::size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t most = lead < 0xC0 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    std::size_t length = 1;
    while (length < std::min(most, text.size()) &&
           (static_cast<unsigned char>(text[length]) & 0xC0U) == 0x80U) {
        ++length;
    }
    return length;
}

bool IsDateTime(Token token) { return token >= Token::Year2; }

// The sections of a code: split at the semicolons that are not quoted, escaped or in brackets.
std::optional<std::vector<std::string_view>> Split(std::string_view code) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"' || c == '[') {
            i = code.find(c == '"' ? '"' : ']', i + 1);
            if (i == std::string_view::npos) return std::nullopt;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is taken as it is
        } else if (c == ';') {
            sections.push_back(code.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(code.substr(std::min(start, code.size())));
    if (sections.size() > 4) return std::nullopt;
    return sections;
}

class SectionReader {
public:
    explicit SectionReader(std::string_view text) : m_text(text) {}

    std::optional<Section> Read() {
        while (!m_text.empty()) {
            if (!Next()) return std::nullopt;
        }
        if (m_substitute) {
            // The system's date or time in place of what the code spells out.
            auto sections = ReadSections(*m_substitute);
            if (!sections) return std::nullopt;
            sections->front().condition = m_section.condition;
            return sections->front();
        }
        return Finish();
    }

private:
    bool Next() {
        const char c = m_text[0];
        const char next = m_text.size() > 1 ? m_text[1] : '\0';
        if (c == '"') {
            const auto end = std::min(m_text.find('"', 1), m_text.size());
            Literal(m_text.substr(1, end - 1));
            Skip(end + 1);
        } else if (c == '\\' || c == '_' || c == '*') {
            if (m_text.size() == 1) {
                Skip(1);
                return true;
            }
            const std::size_t length = CharacterLength(m_text.substr(1));
            if (c == '\\') Literal(m_text.substr(1, length));
            if (c == '_') Literal(" ");  // room for the character, as a space
            Skip(1 + length);            // '*' fills a cell's width: nothing in text
        } else if (c == '[') {
            const auto end = m_text.find(']');
            if (end == std::string_view::npos || !Bracket(m_text.substr(1, end - 1))) return false;
            Skip(end + 1);
        } else if (StartsWithNoCase(m_text, "general")) {
            Add(Token::General, 7);
        } else if (m_text.starts_with(kGeneralChinese)) {
            Add(Token::General, kGeneralChinese.size());
        } else if (IsPlaceholder(c)) {
            Add(Token::Digit, 1, std::string(1, c));
        } else if (c == '.') {
            Point();
        } else if (c == ',') {
            Comma(next);
        } else if (c == '%') {
            m_section.scale += 2;
            Add(Token::Percent, 1, "%");
        } else if ((c == 'E' || c == 'e') && (next == '+' || next == '-') && Has(Token::Digit)) {
            Add(Token::Exponent, 2, std::string(1, next));
        } else if (c == '/' && Last() == Token::Digit) {
            Slash();
        } else if (c == '@') {
            Add(Token::Text, 1);
        } else if (StartsWithNoCase(m_text, "am/pm") || StartsWithNoCase(m_text, "a/p")) {
            const bool letter = m_text[1] == '/';
            Add(Token::AmPm, letter ? 3 : 5, letter ? "A/P" : "");
        } else if (m_text.starts_with(kChineseAmPm)) {
            Add(Token::AmPm, kChineseAmPm.size());
        } else if (std::string_view("ymdhsae").find(Lower(c)) != std::string_view::npos) {
            DateLetters(Lower(c));
        } else if (Lower(c) == 'g') {
            Skip(1);  // an era's name: none in the Gregorian calendar
        } else {
            Literal(m_text.substr(0, CharacterLength(m_text)));
            Skip(CharacterLength(m_text));
        }
        return true;
    }

    void Skip(std::size_t count) { m_text.remove_prefix(std::min(count, m_text.size())); }

    void Add(Token token, std::size_t length, std::string text = {}, int width = 0) {
        m_section.items.push_back({token, std::move(text), width});
        m_scaling = false;
        Skip(length);
    }

    void Literal(std::string_view text) {
        if (!m_section.items.empty() && m_section.items.back().token == Token::Literal) {
            m_section.items.back().text.append(text);
        } else {
            m_section.items.push_back({Token::Literal, std::string(text), 0});
        }
    }

    [[nodiscard]] bool Has(Token token) const {
        return std::any_of(m_section.items.begin(), m_section.items.end(),
                           [&](const Item& item) { return item.token == token; });
    }

    [[nodiscard]] Token Last() const {
        return m_section.items.empty() ? Token::Literal : m_section.items.back().token;
    }

    // The last date or time token, literals skipped.
    [[nodiscard]] std::optional<Token> LastDateTime() const {
        std::optional<Token> last;
        for (const Item& item : m_section.items) {
            if (IsDateTime(item.token)) last = item.token;
        }
        return last;
    }

    void Point() {
        const auto last = LastDateTime();
        const bool afterSeconds =
            last == Token::Second || last == Token::Second2 || last == Token::ElapsedSeconds;
        if (afterSeconds && m_text.size() > 1 && m_text[1] == '0') {
            const auto zeros = std::min(m_text.find_first_not_of('0', 1), m_text.size()) - 1;
            Add(Token::SecondFraction, zeros + 1, {}, static_cast<int>(zeros));
            m_section.secondDigits = std::max(m_section.secondDigits, static_cast<int>(zeros));
        } else if (!Has(Token::Point) && !Has(Token::Exponent) &&
                   (Has(Token::Digit) || (m_text.size() > 1 && IsPlaceholder(m_text[1])))) {
            Add(Token::Point, 1);
        } else {
            Literal(".");
            Skip(1);
        }
    }

    // Grouping between digits of the whole number; after the digits, each comma divides by
    // 1,000; anywhere else, a comma as it stands.
    void Comma(char next) {
        if (Last() == Token::Digit && IsPlaceholder(next) && !Has(Token::Point)) {
            m_section.grouped = true;
            Skip(1);
        } else if (Last() == Token::Digit || m_scaling) {
            m_section.scale -= 3;
            Skip(1);
            m_scaling = true;
        } else {
            Literal(",");
            Skip(1);
        }
    }

    void Slash() {
        Add(Token::Slash, 1, "/");
        const auto digits = std::min(m_text.find_first_not_of("0123456789"), m_text.size());
        if (digits > 0 && m_text[0] != '0') {
            int denominator = 0;
            for (std::size_t i = 0; i < std::min<std::size_t>(digits, 6); ++i) {
                denominator = denominator * 10 + (m_text[i] - '0');
            }
            Add(Token::Denominator, digits, {}, denominator);
        }
    }

    void DateLetters(char letter) {
        std::size_t count = 1;
        while (count < m_text.size() && Lower(m_text[count]) == letter) ++count;
        const int n = static_cast<int>(count);
        Token token = Token::Literal;
        switch (letter) {
            case 'y':
            case 'e':  // the year of the era: the year itself
                token = n <= 2 && letter == 'y' ? Token::Year2 : Token::Year4;
                break;
            case 'm':
                token = n == 1   ? Token::Month
                        : n == 2 ? Token::Month2
                        : n == 3 ? Token::MonthShort
                        : n == 4 ? Token::MonthLong
                                 : Token::MonthLetter;
                break;
            case 'd':
                token = n == 1   ? Token::Day
                        : n == 2 ? Token::Day2
                        : n == 3 ? Token::WeekdayShort
                                 : Token::WeekdayLong;
                break;
            case 'h':
                token = n == 1 ? Token::Hour : Token::Hour2;
                break;
            case 's':
                token = n == 1 ? Token::Second : Token::Second2;
                break;
            default:  // 'a': aaa and aaaa are the weekday; one or two a's stand as they are
                if (n < 3) {
                    Literal(m_text.substr(0, count));
                    Skip(count);
                    return;
                }
                token = n == 3 ? Token::WeekdayShort : Token::WeekdayLong;
        }
        Add(token, count);
    }

    bool Bracket(std::string_view inside) {
        if (inside.empty()) return false;
        const std::string lower = LowerText(inside);
        if (inside[0] == '$') {
            const auto dash = inside.find('-');
            Literal(inside.substr(1, dash == std::string_view::npos ? dash : dash - 1));
            const std::string locale = dash == std::string_view::npos ? "" : lower.substr(dash + 1);
            if (locale == "x-sysdate" || locale == "f800") m_substitute = kLongDate;
            if (locale == "x-systime" || locale == "f400") m_substitute = kLongTime;
            return true;
        }
        if (inside[0] == '<' || inside[0] == '>' || inside[0] == '=') return Compare(inside);
        if (lower.find_first_not_of('h') == std::string::npos) {
            return Elapsed(Token::ElapsedHours, inside.size());
        }
        if (lower.find_first_not_of('m') == std::string::npos) {
            return Elapsed(Token::ElapsedMinutes, inside.size());
        }
        if (lower.find_first_not_of('s') == std::string::npos) {
            return Elapsed(Token::ElapsedSeconds, inside.size());
        }
        if (lower.size() == 6 && lower.starts_with("dbnum") && lower[5] >= '1' && lower[5] <= '3') {
            m_section.numerals = lower[5] - '0';
            return true;
        }
        const bool numbered =
            (lower.starts_with("color") || inside.starts_with("颜色")) &&
            lower.find_first_not_of("0123456789", lower[0] == 'c' ? 5 : 6) == std::string::npos;
        return numbered || std::find(kColours.begin(), kColours.end(), lower) != kColours.end();
    }

    bool Elapsed(Token token, std::size_t letters) {
        m_section.items.push_back({token, {}, static_cast<int>(letters)});
        return true;
    }

    bool Compare(std::string_view inside) {
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
            if (number.empty() || read.ec != std::errc{} ||
                read.ptr != number.data() + number.size()) {
                return false;
            }
            m_section.condition = Condition{candidate.op, negative ? -value : value};
            return true;
        }
        return false;
    }

    // What the section shows, once its tokens are read; none where they do not go together.
    std::optional<Section> Finish() {
        auto& items = m_section.items;
        // m and mm after hours or before seconds are minutes.
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].token != Token::Month && items[i].token != Token::Month2) continue;
            const auto near = [&](auto first, auto last) -> std::optional<Token> {
                const auto found = std::find_if(
                    first, last, [](const Item& item) { return IsDateTime(item.token); });
                return found == last ? std::nullopt : std::optional(found->token);
            };
            const auto before =
                near(items.rbegin() + static_cast<std::ptrdiff_t>(items.size() - i), items.rend());
            const auto after =
                near(items.begin() + static_cast<std::ptrdiff_t>(i + 1), items.end());
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
        const bool general = Has(Token::General);
        if (int(dateTime) + int(number) + int(general) > 1) return std::nullopt;
        if (dateTime) {
            m_section.kind = Kind::DateTime;
            m_section.twelveHour = Has(Token::AmPm);
            const bool date = std::any_of(items.begin(), items.end(), [](const Item& item) {
                return item.token >= Token::Year2 && item.token <= Token::WeekdayLong;
            });
            m_section.shows = date ? Shows::Date : Shows::Time;
        } else if (general) {
            m_section.kind = Kind::General;
            m_section.shows = Shows::Number;
        } else if (number) {
            if (!NumberFits()) return std::nullopt;
            m_section.kind = Kind::Number;
            FindFixed();
            m_section.shows = Has(Token::Slash)     ? Shows::Fraction
                              : Has(Token::Percent) ? Shows::Percent
                                                    : Shows::Number;
        } else {
            m_section.kind = Has(Token::Text) ? Kind::Text : Kind::Literal;
            m_section.shows = Shows::Text;
        }
        return std::move(m_section);
    }

    // Whether the section is texts around #,##0.00: #'s, one 0, a point and 0's.
    void FindFixed() {
        const auto& items = m_section.items;
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
        if (whole.empty() || whole.back() != '0' ||
            whole.find_first_not_of('#') != whole.size() - 1 || decimals == "." ||
            decimals.find_first_not_of('0', 1) != std::string_view::npos ||
            m_section.numerals != 0) {
            return;
        }
        m_section.fixedPlaces = decimals.empty() ? 0 : static_cast<int>(decimals.size()) - 1;
        if (first > 0) m_section.prefix = items.front().text;
        if (end < items.size()) m_section.suffix = items.back().text;
    }

    // A number's parts in their order: digits before any exponent's and a fraction's parts.
    [[nodiscard]] bool NumberFits() const {
        const auto& items = m_section.items;
        const auto at = [&](Token token) {
            return std::find_if(items.begin(), items.end(),
                                [&](const Item& item) { return item.token == token; });
        };
        const auto digitAfter = [&](auto from) {
            return std::any_of(from, items.end(), [](const Item& item) {
                return item.token == Token::Digit || item.token == Token::Denominator;
            });
        };
        if (!Has(Token::Digit)) return false;
        const auto exponent = at(Token::Exponent);
        const auto slash = at(Token::Slash);
        if (exponent != items.end() && (slash != items.end() || !digitAfter(exponent)))
            return false;
        return slash == items.end() || (digitAfter(slash) && at(Token::Point) == items.end());
    }

    std::string_view m_text;
    Section m_section;
    bool m_scaling = false;  // the last token was a comma that divides by 1,000
    std::optional<std::string_view> m_substitute;
};

}  // namespace

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

std::optional<std::vector<Section>> ReadSections(std::string_view code) {
    const auto texts = Split(code);
    if (!texts) return std::nullopt;
    std::vector<Section> sections;
    for (const std::string_view text : *texts) {
        auto section = SectionReader(text).Read();
        if (!section) return std::nullopt;
        sections.push_back(std::move(*section));
    }
    return sections;
}

}  // namespace tongqiu::table::format
