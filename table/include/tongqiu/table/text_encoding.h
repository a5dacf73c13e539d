#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tongqiu::table {

// The encodings a table may come in: UTF-8, or GB18030 (which includes GBK), what Excel on a
// Chinese Windows writes for "CSV (逗号分隔)".
enum class Encoding { Utf8, Gb18030 };

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The encoding of a file from its first block: UTF-8 when it starts with a byte-order mark or is
// valid UTF-8 (a character cut off at the block's end allowed), else GB18030.
Encoding DetectEncoding(std::string_view start);

// The length of the longest start of UTF-8 text that does not end inside a character.
std::size_t Utf8WholeCharacters(std::string_view text);

// Converts text from one encoding to another in pieces of any size, with the system's converter
// (iconv on Linux, the Windows API on Windows). A character cut off at the end of a piece waits
// for the next one. Where the system cannot convert between the two, it is not Ready and converts
// nothing.
class Transcoder {
public:
    Transcoder(Encoding from, Encoding to);
    ~Transcoder();
    Transcoder(const Transcoder&) = delete;
    Transcoder& operator=(const Transcoder&) = delete;

    [[nodiscard]] bool Ready() const { return m_ready; }

    // Append the converted text to `out`. They return false, and convert no more, when the text is
    // not valid in the encoding it comes from; Finish also when the text ends inside a character.
    [[nodiscard]] bool Convert(std::string_view in, std::string& out);
    [[nodiscard]] bool Finish(std::string& out);

private:
    Encoding m_from;
    Encoding m_to;
    bool m_ready = false;
    [[maybe_unused]] void* m_converter = nullptr;  // the platform's converter, if it has one
    std::string m_pending;                         // text not yet converted
};

}  // namespace tongqiu::table
