#include "xlsx/workbook_parts.h"

namespace tongqiu::table {

bool SharedStrings::Add(std::string_view text) {
    const std::size_t held = m_texts.size() + text.size() + (m_ends.size() + 1) * sizeof(m_ends[0]);
    if (held > kMaxSharedStrings) return false;
    m_texts.append(text);
    m_ends.push_back(static_cast<std::uint32_t>(m_texts.size()));
    return true;
}

std::string_view SharedStrings::operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_texts).substr(start, m_ends[index] - start);
}

}  // namespace tongqiu::table
