#include <iconv.h>

#include <array>
#include <cerrno>

#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {
namespace {

const char* IconvName(Encoding encoding) {
    return encoding == Encoding::Utf8 ? "UTF-8" : "GB18030";
}

iconv_t Handle(void* converter) { return static_cast<iconv_t>(converter); }

}  // namespace

Transcoder::Transcoder(Encoding from, Encoding to)
    : m_from(from), m_to(to), m_converter(iconv_open(IconvName(m_to), IconvName(m_from))) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv's error
    m_ready = Handle(m_converter) != iconv_t(-1);
}

Transcoder::~Transcoder() {
    if (m_ready) iconv_close(Handle(m_converter));
}

bool Transcoder::Convert(std::string_view in, std::string& out) {
    if (!m_ready) return false;
    m_pending.append(in);
    char* next = m_pending.data();
    std::size_t left = m_pending.size();
    std::array<char, 16384> buffer{};
    while (left > 0) {
        char* to = buffer.data();
        std::size_t room = buffer.size();
        const std::size_t done = iconv(Handle(m_converter), &next, &left, &to, &room);
        out.append(buffer.data(), to);
        if (done != std::size_t(-1) || errno == E2BIG) continue;  // E2BIG: buffer emptied, go on
        if (errno == EINVAL) break;                               // a character cut off at the end
        return false;                                             // EILSEQ: not valid text
    }
    m_pending.erase(0, m_pending.size() - left);
    return true;
}

bool Transcoder::Finish(std::string& /*out*/) { return m_ready && m_pending.empty(); }

}  // namespace tongqiu::table
