// The Transcoder over a converter that takes whole texts only: each piece is cut after its last
// whole character, and what follows waits for the next piece.
#include <algorithm>

#include "encoding/text_encoding_whole.h"

namespace tongqiu::table {
namespace {

// The length of the longest start of the text that surely ends between characters. In GB18030 no
// byte below 0x30 (a comma, a quote, a line break, a space) is ever part of a longer character.
std::size_t WholeCharacters(std::string_view text, Encoding encoding) {
    if (encoding == Encoding::Utf8) return Utf8WholeCharacters(text);
    const auto last = std::find_if(text.rbegin(), text.rend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x30U; });
    return static_cast<std::size_t>(text.rend() - last);
}

}  // namespace

Transcoder::Transcoder(Encoding from, Encoding to)
    : m_from(from), m_to(to), m_ready(CanConvert(from, to)) {}

Transcoder::~Transcoder() = default;

bool Transcoder::Convert(std::string_view in, std::string& out) {
    if (!m_ready) return false;
    m_pending.append(in);
    const std::size_t whole = WholeCharacters(m_pending, m_from);
    if (whole == 0) return m_pending.size() < (std::size_t{4} << 20);  // no end of a character
    std::string_view piece(m_pending.data(), whole);
    if (ConvertWhole(piece, m_from, m_to, out)) {
        m_pending.erase(0, whole);
        return true;
    }
    // Not valid somewhere: convert the lines before the fault, so that its line is known.
    for (std::size_t end = piece.find('\n');
         end != std::string_view::npos && ConvertWhole(piece.substr(0, end + 1), m_from, m_to, out);
         end = piece.find('\n')) {
        piece.remove_prefix(end + 1);
    }
    return false;
}

bool Transcoder::Finish(std::string& out) {
    // Whatever is left must be whole characters: a cut-off one makes the conversion fail.
    const bool whole = m_ready && (m_pending.empty() || ConvertWhole(m_pending, m_from, m_to, out));
    m_pending.clear();
    return whole;
}

}  // namespace tongqiu::table
