// The JSON the page's engine answers in, checked as text: the worker's JSON.parse must read back
// every cell as it was, whatever characters it holds.
#include "json_text.h"

#include <gtest/gtest.h>

namespace tongqiu::web {
namespace {

TEST(JsonText, EscapesWhatJsonCannotHoldAndKeepsTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"38", R"("38")"},
        {"say \"Φ38\"", R"("say \"Φ38\"")"},
        {R"(C:\tubes)", R"("C:\\tubes")"},
        {"line\nnext\ttab\x1f", R"("line\u000anext\u0009tab\u001f")"},
        {"球号“A”", R"("球号“A”")"},
        {"", R"("")"},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(Quoted(text), json) << text;
}

TEST(JsonText, BuildsObjectsAndArraysMemberByMember) {
    EXPECT_EQ(JsonObject().Done(), "{}");
    EXPECT_EQ(JsonObject()
                  .Text("summary", "共 2 根")
                  .Number("rows", 2)
                  .Add("rows2", Rows({{"a", "b"}, {}}))
                  .Add("notes", Strings({}))
                  .Done(),
              R"({"summary":"共 2 根","rows":2,"rows2":[["a","b"],[]],"notes":[]})");
}

}  // namespace
}  // namespace tongqiu::web
