#include "batch_files.h"

#include <random>

namespace tongqiu::batch {

fs::path Utf8Path(const std::string& text) { return {std::u8string(text.begin(), text.end())}; }

// A file name nobody else uses, in `folder`.
fs::path UnusedName(const fs::path& folder, const fs::path& beside) {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32U) | random();
    fs::path name(".");  // hidden where a leading dot makes it so
    name += beside.filename();
    name += ".";
    name += std::to_string(number);
    name += ".tmp";
    return folder / name;
}

}  // namespace tongqiu::batch
