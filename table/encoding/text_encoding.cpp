#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {

std::size_t Utf8WholeCharacters(std::string_view text) {
    // Back over up to three continuation bytes (10xxxxxx) to the lead byte of the last character.
    std::size_t lead = text.size();
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    while (lead > 0 && text.size() - lead < 3 && (byte(lead - 1) & 0xC0U) == 0x80U) --lead;
    if (lead == 0 || byte(lead - 1) < 0xC0U) return text.size();  // ends in ASCII or stray bytes
    const unsigned char first = byte(lead - 1);
    const std::size_t length = first >= 0xF0U ? 4 : first >= 0xE0U ? 3 : 2;
    return text.size() - (lead - 1) >= length ? text.size() : lead - 1;
}

Encoding DetectEncoding(std::string_view start) {
    if (start.starts_with(kUtf8ByteOrderMark)) return Encoding::Utf8;
    Transcoder check(Encoding::Utf8, Encoding::Utf8);
    std::string ignored;
    const bool valid = check.Convert(start.substr(0, Utf8WholeCharacters(start)), ignored) &&
                       check.Finish(ignored);
    return valid ? Encoding::Utf8 : Encoding::Gb18030;
}

}  // namespace tongqiu::table
