#include <istream>

#include "tongqiu/table/byte_source.h"

namespace tongqiu::table {

std::size_t StreamSource::Read(char* out, std::size_t size) {
    m_in.read(out, static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(m_in.gcount());
}

bool StreamSource::Seek(std::uint64_t offset) {
    if (m_in.bad()) return false;
    m_in.clear();  // the end, reached before
    if (m_in.seekg(static_cast<std::streamoff>(offset))) return true;
    if (!m_in.bad()) m_in.clear();  // a pipe: it reads on from where it was
    return false;
}

std::optional<std::uint64_t> StreamSource::Size() {
    if (m_in.bad()) return std::nullopt;
    m_in.clear();
    const std::streampos back = m_in.tellg();
    if (back < 0 || !m_in.seekg(0, std::ios::end)) {
        m_in.clear();
        return std::nullopt;
    }
    const std::streampos end = m_in.tellg();
    m_in.seekg(back);
    if (end < 0 || !m_in) return std::nullopt;
    return static_cast<std::uint64_t>(end);
}

bool StreamSource::Failed() const { return m_in.bad(); }

}  // namespace tongqiu::table
