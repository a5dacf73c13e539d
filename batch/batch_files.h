#pragma once

#include <filesystem>
#include <string>

namespace tongqiu::batch {

namespace fs = std::filesystem;

// A path from the user's UTF-8 text, on every system.
fs::path Utf8Path(const std::string& text);

// A file name nobody else uses, in `folder`, made from `beside`'s.
fs::path UnusedName(const fs::path& folder, const fs::path& beside);

}  // namespace tongqiu::batch
