// A format code read once and shown: the choice of section for a number or a text, and General.
#include "xlsx/format/number_format.h"

#include <cmath>

#include "xlsx/format/format_sections.h"
#include "xlsx/format/number_parts.h"
#include "xlsx/read/cell_text.h"

namespace tongqiu::table {
namespace {

using format::Item;
using format::Kind;
using format::Section;
using format::Token;

constexpr int kSmallestPlain = -9;  // General's smallest exponent without an exponent shown

}  // namespace

std::string GeneralText(double value) {
    if (value == 0) return "0";
    const auto [significant, exponent] = format::Significant(std::fabs(value));
    std::string digits = significant;
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string shown = value < 0 ? "-" : "";
    const auto count = static_cast<int>(digits.size());
    if (exponent > format::kSignificantDigits || exponent < kSmallestPlain) {
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
    if (shown.text.size() > kMaxShownCharacters && Characters(shown.text) > kMaxShownCharacters) {
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
