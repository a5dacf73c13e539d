// Fractions: "# ?/?", "# ??/100", "?/?".
#include <cmath>

#include "tongqiu/number_text.h"
#include "xlsx/format/number_parts.h"

namespace tongqiu::table::format {
namespace {

constexpr int kMostFractionDigits = 6;  // a fraction's denominator has at most 6 digits

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

}  // namespace

ShownValue Fraction(const Section& section, double magnitude, bool negative) {
    Layout layout(section);
    const auto& items = section.items;
    const Item* slash = Find(section, Token::Slash);
    const Item* fixed = Find(section, Token::Denominator);
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
    // A zero shows its 0 even for #.
    const std::string wholeText = whole != 0       ? FormatPlaces(whole, 0)
                                  : numerator == 0 ? std::string(1, '0')
                                                   : std::string();
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

}  // namespace tongqiu::table::format
