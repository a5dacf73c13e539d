#pragma once

#include <string>
#include <string_view>

namespace tongqiu::batch {

// The encodings a table may come in: UTF-8, or GB18030 (which includes GBK), what Excel on a
// Chinese Windows writes for "CSV (逗号分隔)".
enum class Encoding { Utf8, Gb18030 };

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The encoding of a file from its first block: UTF-8 when it starts with a byte-order mark or is
// valid UTF-8 (a character cut off at the block's end allowed), else GB18030.
Encoding DetectEncoding(std::string_view start);

// Converts text from one encoding to another in pieces of any size, through the system's
// converter (iconv). A character cut off at the end of a piece is kept for the next one.
class Transcoder {
public:
    Transcoder(Encoding from, Encoding to);
    ~Transcoder();
    Transcoder(const Transcoder&) = delete;
    Transcoder& operator=(const Transcoder&) = delete;

    // Appends the converted text to `out`. Returns false, and converts no more, when the text is
    // not valid in the encoding it comes from.
    [[nodiscard]] bool Convert(std::string_view in, std::string& out);
    // Whether the text ended with no character cut off.
    [[nodiscard]] bool Complete() const { return m_pending.empty(); }

private:
    void* m_converter;
    std::string m_pending;  // the start of a character cut off at the end of the last piece
};

}  // namespace tongqiu::batch
