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

}  // namespace
}  // namespace tongqiu::table
