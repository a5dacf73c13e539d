#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {
namespace {

// A block of UTF-8 may end inside a character; it is still UTF-8.
TEST(TextEncoding, ACharacterCutOffAtTheBlockEndStillReadsAsUtf8) {
    const std::pair<std::string, std::size_t> texts[] = {
        {"a", 1},           {"外", 3}, {"外\xE5", 3}, {"外\xE5\xA4", 3}, {"\xF0\x9F\x98\x80", 4},
        {"\xF0\x9F\x98", 0}};
    for (const auto& [text, whole] : texts) {
        EXPECT_EQ(Utf8WholeCharacters(text), whole) << text;
        EXPECT_EQ(DetectEncoding(text), Encoding::Utf8) << text;
    }
    EXPECT_EQ(DetectEncoding("\xCD\xE2\xBE\xB6\xCD"), Encoding::Gb18030);
}

// GB18030 split at every byte converts as whole: a four-byte character's second and fourth bytes
// are 0x30-0x39, digits in ASCII ("¥" is 81 30 84 36, "😀" 94 39 FC 36), so no split may be
// taken between them for an end of a character.
TEST(TextEncoding, Gb18030CutAnywhereConvertsWhole) {
    const std::string gb18030 =
        "\xB1\xB8\xD7\xA2,\x81\x30\x84\x36"
        "38,\x94\x39\xFC\x36\n";
    const std::string utf8 = "备注,¥38,😀\n";
    {
        Transcoder whole(Encoding::Gb18030, Encoding::Utf8);
        std::string out;
        if (!whole.Convert(gb18030, out) || !whole.Finish(out)) {
            GTEST_SKIP() << "this system's GB18030 has no four-byte characters (Wine's is GBK)";
        }
    }
    for (std::size_t cut = 0; cut <= gb18030.size(); ++cut) {
        Transcoder transcoder(Encoding::Gb18030, Encoding::Utf8);
        std::string out;
        EXPECT_TRUE(transcoder.Convert(gb18030.substr(0, cut), out)) << cut;
        EXPECT_TRUE(transcoder.Convert(gb18030.substr(cut), out)) << cut;
        EXPECT_TRUE(transcoder.Finish(out)) << cut;
        EXPECT_EQ(out, utf8) << cut;
    }
}

// Text converted comes back as it was, or the conversion says it failed: a character the system's
// GB18030 lacks (Wine's is GBK, without 😀) is never written as "?" unnoticed.
TEST(TextEncoding, WhatIsConvertedComesBackOrIsRefused) {
    for (const std::string utf8 : {"备注,¥38\n", "备注,😀\n", "\xEF\xBF\xBF\n"}) {
        Transcoder there(Encoding::Utf8, Encoding::Gb18030);
        std::string gb18030;
        if (!there.Convert(utf8, gb18030) || !there.Finish(gb18030)) continue;  // refused
        Transcoder back(Encoding::Gb18030, Encoding::Utf8);
        std::string again;
        EXPECT_TRUE(back.Convert(gb18030, again) && back.Finish(again)) << utf8;
        EXPECT_EQ(again, utf8);
    }
}

}  // namespace
}  // namespace tongqiu::table
