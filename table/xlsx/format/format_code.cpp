// Reading a format code into its sections and their tokens, once per format.
#include <algorithm>
#include <array>

#include "xlsx/format/format_sections.h"

namespace tongqiu::table::format {
namespace {

constexpr std::string_view kGeneralChinese = "G/通用格式";  // how Chinese Excel writes General
constexpr std::string_view kChineseAmPm = "上午/下午";
// What the dialogs' "system" long date and time ([$-x-sysdate], [$-F800]) show on a Chinese system.
constexpr std::string_view kLongDate = "yyyy\"年\"m\"月\"d\"日\"";
constexpr std::string_view kLongTime = "h:mm:ss";

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

    [[nodiscard]] bool Has(Token token) const { return Find(m_section, token) != nullptr; }

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
        const Token token = DateToken(letter, count);
        if (token == Token::Literal) {  // one or two a's stand as they are
            Literal(m_text.substr(0, count));
            Skip(count);
        } else {
            Add(token, count);
        }
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
        return IsColour(lower);
    }

    bool Elapsed(Token token, std::size_t letters) {
        m_section.items.push_back({token, {}, static_cast<int>(letters)});
        return true;
    }

    bool Compare(std::string_view inside) {
        m_section.condition = ReadCondition(inside);
        return m_section.condition.has_value();
    }

    // What the section shows, once its tokens are read; none where they do not go together.
    std::optional<Section> Finish() { return Classify(std::move(m_section)); }

    std::string_view m_text;
    Section m_section;
    bool m_scaling = false;  // the last token was a comma that divides by 1,000
    std::optional<std::string_view> m_substitute;
};

}  // namespace

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
