#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tongqiu::batch {

namespace fs = std::filesystem;

// A path from the user's UTF-8 text, on every system.
fs::path Utf8Path(const std::string& text);

// A file name nobody else uses, in `folder`, made from `beside`'s.
fs::path UnusedName(const fs::path& folder, const fs::path& beside);

// In a handler of a std::exception: what was thrown, in the user's words, about `input` or
// `output`. Nothing is thrown on purpose: memory running out, the file system failing, or
// anything else.
std::string ThrownMessage(std::string_view input, std::string_view output);

}  // namespace tongqiu::batch
