#include "xlsx/format/shown_number.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "tongqiu/float_chars.h"
#include "tongqiu/number_text.h"

namespace tongqiu::table {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kSmallestPlain = -9;  // the exponent of the smallest number General shows plain

// A fixed-decimal format: its places, and whether thousands are grouped ("#,##0.00").
struct Fixed {
    int places = 0;
    bool grouped = false;
};

// The formats every spreadsheet knows by their number alone, without a code in the workbook.
std::string_view BuiltInCode(int id) {
    switch (id) {
        case 0:
            return "General";
        case 1:
            return "0";
        case 2:
            return "0.00";
        case 3:
            return "#,##0";
        case 4:
            return "#,##0.00";
        case 49:
            return "@";
        default:
            return {};
    }
}

std::optional<Fixed> ReadFixed(std::string_view code) {
    Fixed fixed;
    fixed.grouped = code.starts_with("#,##");
    if (fixed.grouped) code.remove_prefix(4);
    if (!code.starts_with('0')) return std::nullopt;
    code.remove_prefix(1);
    if (code.starts_with('.')) {
        code.remove_prefix(1);
        if (code.empty()) return std::nullopt;
        for (; code.starts_with('0'); code.remove_prefix(1)) ++fixed.places;
    }
    if (!code.empty()) return std::nullopt;
    return fixed;
}

// Up to 15 significant digits, trailing zeros dropped; an exponent as LibreOffice writes one
// ("1.5E+016", "1.25E-10") for magnitudes beyond them or below 1E-09.
std::string General(double value) {
    if (value == 0) return "0";
    char scientific[32];
    const auto written = WriteScientific(scientific, scientific + sizeof scientific,
                                         std::fabs(value), kSignificantDigits - 1);
    const std::string_view text(scientific, static_cast<std::size_t>(written.ptr - scientific));
    const std::string_view exponentText = text.substr(text.find('e') + 1);
    int exponent = 0;
    std::from_chars(exponentText.data() + (exponentText.starts_with('+') ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    std::string digits(1, text[0]);
    digits.append(text.substr(2, kSignificantDigits - 1));
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string shown = value < 0 ? "-" : "";
    const auto count = static_cast<int>(digits.size());
    if (exponent >= kSignificantDigits || exponent < kSmallestPlain) {
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

void GroupThousands(std::string& text) {
    const std::size_t start = text.starts_with('-') ? 1 : 0;
    for (auto end = text.find('.') == std::string::npos ? text.size() : text.find('.');
         end > start + 3; end -= 3) {
        text.insert(end - 3, 1, ',');
    }
}

}  // namespace

std::string ShownNumber(double value, const NumberFormat* format, bool& known) {
    known = true;
    if (!std::isfinite(value)) return "#NUM!";  // as a spreadsheet shows a number out of range
    if (format == nullptr) return General(value);
    const std::string_view code = format->code.empty() ? BuiltInCode(format->id) : format->code;
    if (code == "General" || code == "@") return General(value);
    const auto fixed = ReadFixed(code);
    if (!fixed) {
        known = false;
        return General(value);
    }
    std::string text = FormatPlaces(value, fixed->places);
    if (fixed->grouped) GroupThousands(text);
    return text;
}

}  // namespace tongqiu::table
