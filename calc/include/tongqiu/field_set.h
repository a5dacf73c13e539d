#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace tongqiu {

// The fourteen text fields of the window, named after the text boxes that show them.
// There is no Text12.
enum class FieldName {
    Text1,   // outer diameter Dw, typed
    Text2,   // wall thickness, typed
    Text3,   // bend radius R, typed
    Text4,   // ball for a tube with a splice weld and no bend
    Text5,   // ball for a tube with a bend and no splice weld
    Text6,   // ball for a tube with a bend and a splice weld
    Text7,   // ratio R/Dw
    Text8,   // table 10 coefficient
    Text9,   // table 11 coefficient
    Text10,  // table 12 coefficient
    Text11,  // inner diameter
    Text13,  // ball by table 10
    Text14,  // ball by table 11
    Text15,  // ball by table 12
};

inline constexpr std::size_t kFieldCount = 14;

inline constexpr std::array<FieldName, kFieldCount> kAllFields{
    FieldName::Text1,  FieldName::Text2,  FieldName::Text3,  FieldName::Text4,  FieldName::Text5,
    FieldName::Text6,  FieldName::Text7,  FieldName::Text8,  FieldName::Text9,  FieldName::Text10,
    FieldName::Text11, FieldName::Text13, FieldName::Text14, FieldName::Text15,
};

// "Text1" to "Text15": the name of the text box that shows the field.
std::string_view NameOf(FieldName name);

// The texts of all fields. Every field starts empty; writing one replaces its whole text.
class FieldSet {
public:
    [[nodiscard]] const std::string& Get(FieldName name) const {
        return m_texts[static_cast<std::size_t>(name)];
    }
    void Set(FieldName name, std::string text) {
        m_texts[static_cast<std::size_t>(name)] = std::move(text);
    }

    friend bool operator==(const FieldSet&, const FieldSet&) = default;

private:
    std::array<std::string, kFieldCount> m_texts;
};

}  // namespace tongqiu
