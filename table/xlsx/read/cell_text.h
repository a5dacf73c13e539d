#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace tongqiu::table {

// Texts as a workbook's XML gives them: in pieces, counted in characters, bounded.

// The most characters a spreadsheet's cell holds (Excel's limit).
inline constexpr std::size_t kMaxCellCharacters = 32'767;

// The characters of UTF-8 text: its bytes less the continuation bytes.
inline std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

// A cell's text as it comes in pieces, and its characters counted as they come.
class CellText {
public:
    // False once it holds more characters than a cell may.
    bool Append(std::string_view piece) {
        m_text.append(piece);
        m_characters += Characters(piece);
        return m_characters <= kMaxCellCharacters;
    }
    void Clear() {
        m_text.clear();
        m_characters = 0;
    }
    [[nodiscard]] const std::string& Text() const { return m_text; }
    std::string Take() { return std::exchange(m_text, {}); }

private:
    std::string m_text;
    std::size_t m_characters = 0;
};

// A whole number from an attribute; `fallback` when there is none or it is no number.
inline long Number(std::string_view text, long fallback) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() ? value : fallback;
}

// Text collected from <t> elements, leaving out phonetic guides (<rPh>), for a shared string and
// for a cell's own rich text alike.
class RichText {
public:
    void Start(std::string_view name) {
        if (name == "rPh") ++m_phonetic;
        m_inText = name == "t" && m_phonetic == 0;
    }
    void End(std::string_view name) {
        if (name == "rPh") --m_phonetic;
        if (name == "t") m_inText = false;
    }
    bool Take(std::string_view text) { return !m_inText || m_text.Append(text); }
    CellText m_text;

private:
    int m_phonetic = 0;
    bool m_inText = false;
};

}  // namespace tongqiu::table
