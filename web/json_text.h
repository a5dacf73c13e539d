#pragma once

// JSON text for the page's worker, which parses what the engine answers.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tongqiu::web {

// `text` (UTF-8) as a JSON string.
inline std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

inline std::string Strings(const std::vector<std::string>& texts) {
    std::string array = "[";
    for (const std::string& text : texts) {
        if (array.size() > 1) array += ',';
        array += Quoted(text);
    }
    array += ']';
    return array;
}

inline std::string Rows(const std::vector<std::vector<std::string>>& rows) {
    std::string array = "[";
    for (const auto& row : rows) {
        if (array.size() > 1) array += ',';
        array += Strings(row);
    }
    array += ']';
    return array;
}

// An object, member by member.
class JsonObject {
public:
    JsonObject& Add(std::string_view name, std::string_view json) {
        if (m_text.size() > 1) m_text += ',';
        m_text += Quoted(name);
        m_text += ':';
        m_text += json;
        return *this;
    }
    JsonObject& Text(std::string_view name, std::string_view text) {
        return Add(name, Quoted(text));
    }
    JsonObject& Number(std::string_view name, std::size_t number) {
        return Add(name, std::to_string(number));
    }
    [[nodiscard]] std::string Done() const {
        std::string done = m_text;
        done += '}';
        return done;
    }

private:
    std::string m_text = "{";
};

}  // namespace tongqiu::web
