// Numbers with decimals and with an exponent, General with texts around it, and the choice of
// how a section shows a number.
#include <cmath>

#include "tongqiu/number_text.h"
#include "xlsx/format/number_parts.h"

namespace tongqiu::table::format {
namespace {

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

ShownValue Fixed(const Section& section, double magnitude, bool negative) {
    Layout layout(section);
    const Item* point = Find(section, Token::Point);
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
    const Item* point = Find(section, Token::Point);
    const Item* exponentItem = Find(section, Token::Exponent);
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
    if (Find(section, Token::Slash) != nullptr) {
        shown = Fraction(section, magnitude, negative);
    } else if (Find(section, Token::Exponent) != nullptr) {
        shown = Scientific(section, magnitude, negative);
    } else {
        shown = Fixed(section, magnitude, negative);
    }
    if (shown.shows != Shows::Number) shown.number.clear();
    // The number shown keeps the value's sign, in whatever way the section shows it.
    if (!shown.number.empty() && value < 0 && !negative &&
        shown.number.find_first_of("123456789") != std::string::npos) {
        shown.number.insert(0, 1, '-');
    }
    return shown;
}

}  // namespace tongqiu::table::format
