#include <algorithm>
#include <cstring>

#include "tongqiu/table/byte_source.h"

namespace tongqiu::table {

std::size_t BytesSource::Read(char* out, std::size_t size) {
    const std::size_t count = std::min(size, m_bytes.size() - m_at);
    if (count > 0) std::memcpy(out, m_bytes.data() + m_at, count);  // `out` may be null for none
    m_at += count;
    return count;
}

bool BytesSource::Seek(std::uint64_t offset) {
    if (offset > m_bytes.size()) return false;
    m_at = static_cast<std::size_t>(offset);
    return true;
}

}  // namespace tongqiu::table
