#include <windows.h>

#include "encoding/text_encoding_whole.h"

namespace tongqiu::table {
namespace {

// GB18030 is code page 54936. Where Windows lacks it (Wine does), GBK, code page 936, which is
// what Excel writes on a Chinese Windows, still reads and writes every character of such files.
UINT CodePage(Encoding encoding) {
    static const UINT gb18030 = IsValidCodePage(54936) ? 54936 : 936;
    return encoding == Encoding::Utf8 ? CP_UTF8 : gb18030;
}

}  // namespace

bool CanConvert(Encoding /*from*/, Encoding /*to*/) { return true; }

bool ConvertWhole(std::string_view text, Encoding from, Encoding to, std::string& out) {
    const int size = static_cast<int>(text.size());
    const int wideSize =
        MultiByteToWideChar(CodePage(from), MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideSize == 0) return false;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CodePage(from), MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                        wideSize);
    const int outSize =
        WideCharToMultiByte(CodePage(to), 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(outSize));
    WideCharToMultiByte(CodePage(to), 0, wide.data(), wideSize, out.data() + start, outSize,
                        nullptr, nullptr);
    return true;
}

}  // namespace tongqiu::table
