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
    if (text.empty()) return true;
    const UINT fromPage = CodePage(from);
    const UINT toPage = CodePage(to);
    const int size = static_cast<int>(text.size());
    const int wideSize =
        MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideSize <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    if (MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                            wideSize) != wideSize) {
        return false;
    }
    // A character the target has no code for fails the text rather than becoming "?" or a
    // look-alike ("¥" is not "￥"); Windows tells so for UTF-8 by an error, for the others by the
    // default character it used once best fits are off.
    const DWORD flags = toPage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const used = toPage == CP_UTF8 ? nullptr : &usedDefault;
    const int outSize =
        WideCharToMultiByte(toPage, flags, wide.data(), wideSize, nullptr, 0, nullptr, used);
    if (outSize <= 0 || usedDefault) return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(outSize));
    if (WideCharToMultiByte(toPage, flags, wide.data(), wideSize, out.data() + start, outSize,
                            nullptr, used) != outSize ||
        usedDefault) {
        out.resize(start);
        return false;
    }
    return true;
}

}  // namespace tongqiu::table
