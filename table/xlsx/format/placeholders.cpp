// Digits in their placeholders, for every kind of number a section shows.
#include <charconv>

#include "tongqiu/float_chars.h"
#include "xlsx/format/number_parts.h"
#include "xlsx/read/cell_text.h"

namespace tongqiu::table::format {

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

std::string Sign(bool negative) { return {negative ? "-" : ""}; }

std::string Placeholders(const std::vector<const Item*>& digits) {
    std::string text;
    for (const Item* item : digits) text += item->text;
    return text;
}

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

std::string InNumerals(const Section& section, const std::string& whole,
                       const std::string& decimals) {
    std::string text = Numerals(whole.empty() ? "0" : whole, section.numerals, true);
    if (!decimals.empty()) {
        text += section.numerals == 2 ? "点" : "．";
        text += Numerals(decimals, section.numerals, false);
    }
    return text;
}

Layout::Layout(const Section& section) : m_section(section) {
    for (const Item& item : section.items) {
        if (item.token == Token::Digit) m_digits.push_back(&item);
    }
}

std::vector<const Item*> Layout::Digits(const Item* first, const Item* end) const {
    std::vector<const Item*> run;
    for (const Item* digit : m_digits) {
        if ((first == nullptr || digit >= first) && (end == nullptr || digit < end)) {
            run.push_back(digit);
        }
    }
    return run;
}

void Layout::Set(const std::vector<const Item*>& digits, const std::vector<std::string>& pieces) {
    for (std::size_t i = 0; i < digits.size(); ++i) m_pieces.emplace_back(digits[i], pieces[i]);
}

std::string Layout::Write(bool point, const Item* blankFrom, const Item* blankTo) const {
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
            const std::size_t width = Characters(std::string_view(text).substr(blankStart));
            text.replace(blankStart, text.size() - blankStart, std::string(width, ' '));
            blankStart = std::string::npos;
        }
    }
    return text;
}

}  // namespace tongqiu::table::format
