// In the browser (and under Node) text is decoded by the platform's TextDecoder, which knows
// GB18030, rather than by a converter compiled in with tables for every CJK encoding. There is
// no encoder for GB18030, so the page always writes UTF-8.
#include <emscripten.h>

#include "encoding/text_encoding_whole.h"

namespace tongqiu::table {
namespace {

// Decodes the bytes and keeps the text as UTF-8 until TakeDecoded; returns its length, or -1 when
// the bytes are not valid text. A byte-order mark inside is kept as the character it is.
EM_JS(int, Decode, (const char* label, const char* data, int size), {
    try {
        const decoder = new TextDecoder(UTF8ToString(label), {fatal : true, ignoreBOM : true});
        Module.decoded =
            new TextEncoder().encode(decoder.decode(HEAPU8.subarray(data, data + size)));
        return Module.decoded.length;
    } catch (error) {
        return -1;
    }
});

EM_JS(void, TakeDecoded, (char* out), {
    HEAPU8.set(Module.decoded, out);
    Module.decoded = null;
});

}  // namespace

bool CanConvert(Encoding /*from*/, Encoding to) { return to == Encoding::Utf8; }

bool ConvertWhole(std::string_view text, Encoding from, Encoding /*to*/, std::string& out) {
    const int length = Decode(from == Encoding::Utf8 ? "utf-8" : "gb18030", text.data(),
                              static_cast<int>(text.size()));
    if (length < 0) return false;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length));
    TakeDecoded(out.data() + start);
    return true;
}

}  // namespace tongqiu::table
