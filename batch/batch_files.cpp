#include "batch_files.h"

#include <exception>
#include <new>
#include <random>

#include "tongqiu/table/table_messages.h"

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

std::string ThrownMessage(std::string_view input, std::string_view output) {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return table::Located(input, 0, "内存不足，无法完成。");
    } catch (const fs::filesystem_error&) {
        return table::Located(output, 0, "无法写入。");
    } catch (const std::exception&) {
        // Whatever it was, its words are not the user's.
        return table::Located(input, 0, "处理时出错，无法完成。");
    }
}

}  // namespace tongqiu::batch
