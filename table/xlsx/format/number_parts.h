#pragma once

// The parts the engine writes numbers with: a section's digits placed in its placeholders, and
// the three ways of showing a number (fixed decimals, scientific, fractions).
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xlsx/format/format_sections.h"

namespace tongqiu::table::format {

inline constexpr int kSignificantDigits = 15;  // as General shows, and as numbers are rounded from

// The value's 15 significant digits and its decimal exponent: 38.004 is ("380040000000000", 1).
std::pair<std::string, int> Significant(double magnitude);

// The double a decimal text denotes.
double Decimal(const std::string& text);

// A minus, or nothing.
std::string Sign(bool negative);

// The placeholders of a run of digits: '0', '#' or '?'.
std::string Placeholders(const std::vector<const Item*>& digits);

// A whole number's digits in its placeholders, right to left: a digit where there is one, else
// '0' for 0, a space for ?, nothing for #; digits beyond the placeholders go with the first.
std::vector<std::string> WholeDigits(const std::string& digits, const std::string& places,
                                     bool grouped);

// Decimals in their placeholders: trailing zeros dropped for #, spaces for ?.
std::vector<std::string> DecimalDigits(const std::string& digits, const std::string& places);

// The text of the number's digits in Chinese numerals, when the section asks for them.
std::string InNumerals(const Section& section, const std::string& whole,
                       const std::string& decimals);

// Writes the section's tokens, each placeholder from its piece and the rest as it stands.
class Layout {
public:
    explicit Layout(const Section& section);

    // The digit placeholders from `first` up to `end`, either open where it is none.
    [[nodiscard]] std::vector<const Item*> Digits(const Item* first, const Item* end) const;

    void Set(const std::vector<const Item*>& digits, const std::vector<std::string>& pieces);

    // The text: literals, the pieces, the point unless `point` is false; `blank` from one item
    // to another put as spaces instead.
    [[nodiscard]] std::string Write(bool point, const Item* blankFrom = nullptr,
                                    const Item* blankTo = nullptr) const;

    std::string m_special;  // the exponent's or the fixed denominator's text

private:
    const Section& m_section;
    std::vector<const Item*> m_digits;
    std::vector<std::pair<const Item*, std::string>> m_pieces;
};

// A number's magnitude (scaled) in a section of each kind, with a minus where `negative`.
ShownValue Fixed(const Section& section, double magnitude, bool negative);
ShownValue Scientific(const Section& section, double magnitude, bool negative);
ShownValue Fraction(const Section& section, double magnitude, bool negative);

}  // namespace tongqiu::table::format
