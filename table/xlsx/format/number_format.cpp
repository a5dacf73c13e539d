// Numbers as a format shows them: the choice of section, fixed decimals, scientific, fractions.
#include "xlsx/format/number_format.h"

#include <charconv>
#include <cmath>

#include "tongqiu/float_chars.h"
#include "tongqiu/number_text.h"
#include "xlsx/format/format_sections.h"

namespace tongqiu::table {
namespace {

using format::Item;
using format::Kind;
using format::Section;
using format::Token;

// General shows 15 significant digits, without an exponent from 1E-09 up to 1E+16.
constexpr int kSignificantDigits = 15;
constexpr int kSmallestPlain = -9;
constexpr int kMostFractionDigits = 6;  // a fraction's denominator has at most 6 digits

// The value's 15 significant digits and its decimal exponent: 38.004 is ("380040000000000", 1).
std::pair<std::string, int> Significant(double magnitude) {
    char scientific[32];
    const auto written = WriteScientific(scientific, scientific + sizeof scientific, magnitude,
                                         kSignificantDigits - 1);
    const std::string_view text(scientific, static_cast<std::size_t>(written.ptr - scientific));
    int exponent = 0;
    for (const char c : text.substr(text.find('e') + 2)) exponent = exponent * 10 + (c - '0');
    if (text[text.find('e') + 1] == '-') exponent = -exponent;
    std::string digits(1, text[0]);
    digits.append(text.substr(2, kSignificantDigits - 1));
    return {digits, exponent};
}

double Decimal(const std::string& text) {
    double value = 0;
    ReadDouble(text.data(), text.data() + text.size(), value);
    return value;
}

// A minus, or nothing.
std::string Sign(bool negative) { return {negative ? "-" : ""}; }

std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

// The placeholders of a run of digits: '0', '#' or '?'.
std::string Placeholders(const std::vector<const Item*>& digits) {
    std::string text;
    for (const Item* item : digits) text += item->text;
    return text;
}

// A whole number's digits in its placeholders, right to left: a digit where there is one, else
// '0' for 0, a space for ?, nothing for #; digits beyond the placeholders go with the first.
std::vector<std::string> WholeDigits(const std::string& digits, const std::string& places,
                                     bool grouped) {
    std::vector<std::string> pieces(places.size());
    auto next = digits.rbegin();
    int count = 0;
    const auto put = [&](std::string& piece, char c) {
        if (grouped && count > 0 && count % 3 == 0) piece.insert(0, 1, ',');
        piece.insert(0, 1, c);
        ++count;
    };
    for (std::size_t k = places.size(); k-- > 0;) {
        std::string& piece = pieces[k];
        if (next != digits.rend()) {
            put(piece, *next++);
        } else if (places[k] == '0') {
            put(piece, '0');
        } else if (places[k] == '?') {
            piece.assign(1, ' ');
        }
        if (k == 0) {
            while (next != digits.rend()) put(piece, *next++);
        }
    }
    return pieces;
}

// Decimals in their placeholders: trailing zeros dropped for #, spaces for ?.
std::vector<std::string> DecimalDigits(const std::string& digits, const std::string& places) {
    std::vector<std::string> pieces(places.size());
    bool trailing = true;
    for (std::size_t k = places.size(); k-- > 0;) {
        const char digit = k < digits.size() ? digits[k] : '0';
        if (trailing && digit == '0' && places[k] != '0') {
            pieces[k].assign(places[k] == '?' ? 1 : 0, ' ');
        } else {
            pieces[k].assign(1, digit);
            trailing = false;
        }
    }
    return pieces;
}

// Writes the section's tokens, each placeholder from its piece and the rest as it stands.
class Layout {
public:
    explicit Layout(const Section& section) : m_section(section) {
        for (const Item& item : section.items) {
            if (item.token == Token::Digit) m_digits.push_back(&item);
        }
    }

    // The digit placeholders from `first` up to `end`, either open where it is none.
    std::vector<const Item*> Digits(const Item* first, const Item* end) const {
        std::vector<const Item*> run;
        for (const Item* digit : m_digits) {
            if ((first == nullptr || digit >= first) && (end == nullptr || digit < end)) {
                run.push_back(digit);
            }
        }
        return run;
    }

    [[nodiscard]] const Item* Find(Token token) const {
        for (const Item& item : m_section.items) {
            if (item.token == token) return &item;
        }
        return nullptr;
    }

    void Set(const std::vector<const Item*>& digits, const std::vector<std::string>& pieces) {
        for (std::size_t i = 0; i < digits.size(); ++i) m_pieces.emplace_back(digits[i], pieces[i]);
    }

    // The text: literals, the pieces, the point unless `point` is false; `blank` from one item
    // to another put as spaces instead.
    std::string Write(bool point, const Item* blankFrom = nullptr,
                      const Item* blankTo = nullptr) const {
        std::string text;
        std::size_t blankStart = std::string::npos;
        for (const Item& item : m_section.items) {
            if (&item == blankFrom) blankStart = text.size();
            if (item.token == Token::Digit) {
                for (const auto& [digit, piece] : m_pieces) {
                    if (digit == &item) text += piece;
                }
            } else if (item.token == Token::Point) {
                if (point) text += '.';
            } else if (item.token != Token::Exponent && item.token != Token::Denominator) {
                text += item.text;
            } else {
                text += m_special;
            }
            if (&item == blankTo && blankStart != std::string::npos) {
                const std::size_t width = CharacterCount(std::string_view(text).substr(blankStart));
                text.replace(blankStart, text.size() - blankStart, std::string(width, ' '));
                blankStart = std::string::npos;
            }
        }
        return text;
    }

    std::string m_special;  // the exponent's or the fixed denominator's text

private:
    const Section& m_section;
    std::vector<const Item*> m_digits;
    std::vector<std::pair<const Item*, std::string>> m_pieces;
};

// The text of the number's digits in Chinese numerals, when the section asks for them.
std::string InNumerals(const Section& section, const std::string& whole,
                       const std::string& decimals) {
    std::string text = format::Numerals(whole.empty() ? "0" : whole, section.numerals, true);
    if (!decimals.empty()) {
        text += section.numerals == 2 ? "点" : "．";
        text += format::Numerals(decimals, section.numerals, false);
    }
    return text;
}

ShownValue Fixed(const Section& section, double magnitude, bool negative) {
    Layout layout(section);
    const Item* point = layout.Find(Token::Point);
    const auto wholePlaces = layout.Digits(nullptr, point);
    const auto decimalPlaces = point ? layout.Digits(point, nullptr) : std::vector<const Item*>{};
    const std::string digits = FormatPlaces(magnitude, static_cast<int>(decimalPlaces.size()));
    const auto dot = digits.find('.');
    std::string whole = digits.substr(0, dot);
    const std::string decimals = dot == std::string::npos ? "" : digits.substr(dot + 1);
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    negative = negative && !zero;
    ShownValue shown;
    shown.shows = section.shows;
    shown.number = Sign(negative) + digits;
    if (whole == "0") whole.clear();
    if (section.numerals != 0) {
        std::vector<std::string> pieces(wholePlaces.size());
        if (!pieces.empty()) pieces[0] = InNumerals(section, whole, decimals);
        layout.Set(wholePlaces, pieces);
        layout.Set(decimalPlaces, std::vector<std::string>(decimalPlaces.size()));
        // Before numerals in digits' places, a minus as LibreOffice writes it: 负 or a full-width
        // one.
        const char* minus = section.numerals == 2 ? "负" : "－";
        shown.text = (negative ? minus : "") + layout.Write(false);
        return shown;
    }
    auto wholePieces = WholeDigits(whole, Placeholders(wholePlaces), section.grouped);
    if (wholePlaces.empty() && !whole.empty()) layout.m_special = whole;
    layout.Set(wholePlaces, wholePieces);
    const auto decimalPieces = DecimalDigits(decimals, Placeholders(decimalPlaces));
    layout.Set(decimalPlaces, decimalPieces);
    // A point with no decimal shown goes too, as LibreOffice has it ("#.##" shows 10 as "10").
    const bool anyDecimal = std::any_of(decimalPieces.begin(), decimalPieces.end(),
                                        [](const std::string& piece) { return !piece.empty(); });
    std::string text = layout.Write(anyDecimal || decimalPlaces.empty());
    if (wholePlaces.empty() && !whole.empty()) {
        text.insert(text.find('.') == std::string::npos ? 0 : text.find('.'), whole);
    }
    shown.text = Sign(negative) + text;
    return shown;
}

ShownValue Scientific(const Section& section, double magnitude, bool negative) {
    Layout layout(section);
    const Item* point = layout.Find(Token::Point);
    const Item* exponentItem = layout.Find(Token::Exponent);
    const auto wholePlaces = layout.Digits(nullptr, point ? point : exponentItem);
    const auto decimalPlaces =
        point ? layout.Digits(point, exponentItem) : std::vector<const Item*>{};
    const auto exponentPlaces = layout.Digits(exponentItem, nullptr);
    const int width = std::max(1, static_cast<int>(wholePlaces.size()));
    // Several whole digits led by # keep the exponent a multiple of their count (##0.0E+0).
    const std::string whole = Placeholders(wholePlaces);
    const bool engineering = width > 1 && whole.find('#') != std::string::npos;
    const int places = static_cast<int>(decimalPlaces.size());
    int exponent = 0;
    std::string mantissa = FormatPlaces(0, places);
    if (magnitude != 0) {
        const auto [digits, decimalExponent] = Significant(magnitude);
        const auto exponentFor = [&](int e) {
            return engineering ? e - ((e % width) + width) % width : e - (width - 1);
        };
        exponent = exponentFor(decimalExponent);
        for (int pass = 0; pass < 2; ++pass) {
            const std::string text = digits.substr(0, 1) + "." + digits.substr(1) + "e" +
                                     std::to_string(decimalExponent - exponent);
            mantissa = FormatPlaces(Decimal(text), places);
            // Rounding may carry into one more whole digit (9.995 as 10.00): one step up.
            const auto wholeDigits = static_cast<int>(
                mantissa.find('.') == std::string::npos ? mantissa.size() : mantissa.find('.'));
            if (wholeDigits <= width) break;
            exponent = exponentFor(decimalExponent + 1);
        }
    }
    const auto dot = mantissa.find('.');
    const std::string wholeText = mantissa.substr(0, dot);
    const std::string decimals = dot == std::string::npos ? "" : mantissa.substr(dot + 1);
    const bool zero = mantissa.find_first_not_of("0.") == std::string::npos;
    negative = negative && !zero;
    layout.Set(wholePlaces, WholeDigits(wholeText, whole, false));
    layout.Set(decimalPlaces, DecimalDigits(decimals, Placeholders(decimalPlaces)));
    std::string exponentDigits = std::to_string(std::abs(exponent));
    const std::string exponentPlaceholders = Placeholders(exponentPlaces);
    const auto zeros = static_cast<std::size_t>(
        std::count(exponentPlaceholders.begin(), exponentPlaceholders.end(), '0'));
    if (exponentDigits.size() < zeros) exponentDigits.insert(0, zeros - exponentDigits.size(), '0');
    layout.m_special = exponent < 0 ? "E-" : exponentItem->text == "+" ? "E+" : "E";
    std::vector<std::string> exponentPieces(exponentPlaces.size());
    if (!exponentPieces.empty()) exponentPieces.back() = exponentDigits;
    layout.Set(exponentPlaces, exponentPieces);
    ShownValue shown;
    shown.shows = section.shows;
    shown.text = Sign(negative) + layout.Write(true);
    shown.number = Sign(negative) + mantissa + (exponent < 0 ? "E-" : "E+") +
                   std::to_string(std::abs(exponent));
    return shown;
}

// The fraction nearest `value` (0 <= value) whose denominator is at most `most`: the continued
// fraction's convergents, and the best of the last one's neighbours.
std::pair<double, long long> Nearest(double value, long long most) {
    // Numerators as doubles: a large value's may pass any integer type.
    double p0 = 0;
    double p1 = 1;
    long long q0 = 1;
    long long q1 = 0;
    double rest = value;
    for (int i = 0; i < 64; ++i) {
        const double a = std::floor(rest);
        if (a > 1e15) break;
        const auto whole = static_cast<long long>(a);
        if (q1 != 0 && whole > (most - q0) / q1) break;
        const double p2 = a * p1 + p0;
        const long long q2 = whole * q1 + q0;
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        if (rest - a < 1e-12) break;
        rest = 1 / (rest - a);
    }
    if (q1 == 0) return {std::round(value), 1};
    const long long k = (most - q0) / q1;
    const double p = p0 + static_cast<double>(k) * p1;
    const long long q = q0 + k * q1;
    if (k > 0 && std::fabs(value - p / static_cast<double>(q)) <
                     std::fabs(value - p1 / static_cast<double>(q1))) {
        return {p, q};
    }
    return {p1, q1};
}

ShownValue Fraction(const Section& section, double magnitude, bool negative) {
    Layout layout(section);
    const auto& items = section.items;
    const Item* slash = layout.Find(Token::Slash);
    const Item* fixed = layout.Find(Token::Denominator);
    // The numerator: the digits just before the slash; the whole number: those before it.
    const Item* numeratorStart = slash;
    while (numeratorStart != items.data() && (numeratorStart - 1)->token == Token::Digit) {
        --numeratorStart;
    }
    const auto wholePlaces = layout.Digits(nullptr, numeratorStart);
    const auto numeratorPlaces = layout.Digits(numeratorStart, slash);
    const auto denominatorPlaces = layout.Digits(slash, nullptr);
    const bool withWhole = !wholePlaces.empty();
    double whole = withWhole ? std::floor(magnitude) : 0;
    const double part = magnitude - whole;
    const auto digits = std::min(static_cast<int>(denominatorPlaces.size()), kMostFractionDigits);
    const long long most =
        fixed ? fixed->width : static_cast<long long>(std::pow(10, std::max(digits, 1))) - 1;
    auto [numerator, denominator] =
        fixed ? std::pair{std::round(part * fixed->width), static_cast<long long>(fixed->width)}
              : Nearest(part, std::max(most, 1LL));
    if (withWhole && numerator == static_cast<double>(denominator)) {
        whole += 1;
        numerator = 0;
    }
    negative = negative && (whole != 0 || numerator != 0);
    std::string wholeText = whole == 0 ? "" : FormatPlaces(whole, 0);
    if (whole == 0 && numerator == 0) wholeText = "0";
    layout.Set(wholePlaces, WholeDigits(wholeText, Placeholders(wholePlaces), section.grouped));
    const std::string numeratorText = FormatPlaces(numerator, 0);
    layout.Set(numeratorPlaces, WholeDigits(numeratorText, Placeholders(numeratorPlaces), false));
    // The denominator's digits from the left, spaces after them for ?.
    std::string denominatorText = std::to_string(denominator);
    const std::string denominatorPlaceholders = Placeholders(denominatorPlaces);
    std::vector<std::string> denominatorPieces(denominatorPlaces.size());
    for (std::size_t i = 0; i < denominatorPieces.size(); ++i) {
        denominatorPieces[i] = i < denominatorText.size() ? std::string(1, denominatorText[i])
                               : denominatorPlaceholders[i] == '?' ? " "
                               : denominatorPlaceholders[i] == '0' ? "0"
                                                                   : "";
    }
    if (!denominatorPieces.empty() && denominatorText.size() > denominatorPieces.size()) {
        denominatorPieces.back() += denominatorText.substr(denominatorPieces.size());
    }
    layout.Set(denominatorPlaces, denominatorPieces);
    if (fixed && !(withWhole && numerator == 0)) layout.m_special = std::to_string(fixed->width);
    // (A fixed denominator's digits stay out of the blank, as LibreOffice shows it.)
    const Item* last = fixed ? slash : denominatorPlaces.back();
    // A whole number alone: the fraction's place kept blank.
    const Item* blankFrom = withWhole && numerator == 0 ? wholePlaces.back() + 1 : nullptr;
    ShownValue shown;
    shown.shows = section.shows;
    shown.text = Sign(negative) + layout.Write(true, blankFrom, last);
    return shown;
}

ShownValue General(const Section& section, double value) {
    ShownValue shown;
    shown.number = GeneralText(value);
    for (const Item& item : section.items) {
        if (item.token != Token::General) {
            shown.text += item.text;
        } else if (section.numerals == 0) {
            shown.text += shown.number;
        } else {
            const std::string& text = shown.number;
            const bool minus = text.starts_with('-');
            const auto dot = text.find('.');
            const std::string whole = text.substr(minus ? 1 : 0, dot - (minus ? 1 : 0));
            const std::string decimals = dot == std::string::npos ? "" : text.substr(dot + 1);
            shown.text += Sign(minus);
            shown.text += InNumerals(section, whole, decimals);
        }
    }
    return shown;
}

}  // namespace

namespace format {

ShownValue ShowNumber(const Section& section, double value, bool sign) {
    if (section.kind == Kind::General) return General(section, sign ? value : std::fabs(value));
    ShownValue shown;
    shown.shows = Shows::Text;
    if (section.kind != Kind::Number) {
        for (const Item& item : section.items) shown.text += item.text;
        return shown;
    }
    const double magnitude = std::fabs(value) * std::pow(10.0, section.scale);
    if (!std::isfinite(magnitude)) {  // 1E+307 as a percent: too large for any digits
        shown.text = shown.number = GeneralText(value);
        shown.shows = Shows::Number;
        return shown;
    }
    const bool negative = sign && value < 0;
    if (section.fixedPlaces >= 0) {
        std::string digits = FormatPlaces(magnitude, section.fixedPlaces);
        const bool nonzero = digits.find_first_not_of("0.") != std::string::npos;
        shown.shows = section.shows;
        if (negative && nonzero) shown.text += '-';
        shown.text += section.prefix;
        if (section.grouped) {
            const auto point = std::min(digits.find('.'), digits.size());
            shown.text += WholeDigits(digits.substr(0, point), "0", true)[0];
            shown.text.append(digits, point);
        } else {
            shown.text += digits;
        }
        shown.text += section.suffix;
        if (shown.shows == Shows::Number) {
            if (value < 0 && nonzero) shown.number += '-';
            shown.number += digits;
        }
        return shown;
    }
    const auto has = [&](Token token) {
        return std::any_of(section.items.begin(), section.items.end(),
                           [&](const Item& item) { return item.token == token; });
    };
    if (has(Token::Slash))
        shown = Fraction(section, magnitude, negative);
    else if (has(Token::Exponent))
        shown = Scientific(section, magnitude, negative);
    else
        shown = Fixed(section, magnitude, negative);
    if (shown.shows != Shows::Number) shown.number.clear();
    // The number shown keeps the value's sign, in whatever way the section shows it.
    if (!shown.number.empty() && value < 0 && !negative &&
        shown.number.find_first_of("123456789") != std::string::npos) {
        shown.number.insert(0, 1, '-');
    }
    return shown;
}

}  // namespace format

std::string GeneralText(double value) {
    if (value == 0) return "0";
    const auto [significant, exponent] = Significant(std::fabs(value));
    std::string digits = significant;
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string shown = value < 0 ? "-" : "";
    const auto count = static_cast<int>(digits.size());
    if (exponent > kSignificantDigits || exponent < kSmallestPlain) {
        shown.append(1, digits[0]);
        if (count > 1) shown.append(1, '.').append(digits, 1);
        std::string magnitude = std::to_string(std::abs(exponent));
        const std::size_t width = exponent < 0 ? 2 : 3;
        magnitude.insert(0, width - std::min(width, magnitude.size()), '0');
        return shown.append(exponent < 0 ? "E-" : "E+").append(magnitude);
    }
    if (exponent < 0) {
        return shown.append("0.")
            .append(static_cast<std::size_t>(-exponent) - 1, '0')
            .append(digits);
    }
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) return shown.append(digits).append(whole - digits.size(), '0');
    return shown.append(digits, 0, whole).append(1, '.').append(digits, whole);
}

NumberFormatCode::NumberFormatCode() = default;
NumberFormatCode::NumberFormatCode(NumberFormatCode&&) noexcept = default;
NumberFormatCode& NumberFormatCode::operator=(NumberFormatCode&&) noexcept = default;
NumberFormatCode::~NumberFormatCode() = default;

std::optional<NumberFormatCode> NumberFormatCode::Parse(std::string_view code) {
    auto sections = format::ReadSections(code);
    if (!sections) return std::nullopt;
    NumberFormatCode parsed;
    parsed.m_sections = std::move(*sections);
    // Text goes to the fourth section, or to the one that shows it.
    for (std::size_t i = 0; i < parsed.m_sections.size(); ++i) {
        if (i == 3 || parsed.m_sections[i].kind == Kind::Text) {
            parsed.m_textSection = static_cast<int>(i);
        }
    }
    return parsed;
}

bool NumberFormatCode::IsGeneral() const {
    return m_sections.size() == 1 && m_sections[0].items.size() == 1 &&
           m_sections[0].kind == Kind::General && m_sections[0].numerals == 0;
}

ShownValue NumberFormatCode::Show(double value, bool date1904) const {
    // The sections for numbers: those before the text's.
    const auto count = static_cast<std::size_t>(
        m_textSection < 0 ? static_cast<int>(m_sections.size()) : std::min(m_textSection, 3));
    if (count == 0 || !std::isfinite(value)) {
        return {.text = std::isfinite(value) ? GeneralText(value) : "#NUM!",
                .number = std::isfinite(value) ? GeneralText(value) : ""};
    }
    // Without conditions: positive (and zero, with two); negative; zero. A condition of its own
    // replaces the first or the second section's; what neither takes goes to the third.
    const auto holds = [&](std::size_t i) {
        const auto& condition = m_sections[i].condition;
        if (condition) return condition->Holds(value);
        if (i == 0) return count == 1 || (count == 2 ? value >= 0 : value > 0);
        return count == 2 || value < 0;
    };
    std::size_t chosen = count - 1;
    if (holds(0))
        chosen = 0;
    else if (count >= 2 && holds(1))
        chosen = 1;
    else if (count >= 3)
        chosen = 2;
    const Section& section = m_sections[chosen];
    // The second section of a plain negative number shows its own sign, if any.
    const bool sign = chosen == 0 || section.condition.has_value() ||
                      (chosen == 2 && m_sections[0].condition.has_value());
    ShownValue shown;
    if (section.kind == Kind::DateTime) {
        shown.text = format::ShowDateTime(section, value, date1904);
        shown.shows = section.shows;
    } else {
        shown = format::ShowNumber(section, value, sign);
    }
    if (shown.text.size() > kMaxShownCharacters &&
        CharacterCount(shown.text) > kMaxShownCharacters) {
        return {.text = GeneralText(value), .number = GeneralText(value)};
    }
    return shown;
}

std::string NumberFormatCode::ShowText(std::string_view text) const {
    if (m_textSection < 0) return std::string(text);
    std::string shown;
    for (const Item& item : m_sections[static_cast<std::size_t>(m_textSection)].items) {
        if (item.token == Token::Text) {
            shown += text;
        } else if (item.token == Token::Literal) {
            shown += item.text;
        }
    }
    return shown;
}

}  // namespace tongqiu::table
