#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "row.h"
#include "tongqiu/expected.h"

namespace tongqiu::table {

// The parts of a ZIP file (a workbook is one), read from a stream that can seek. Only the
// central directory is held; a part is inflated in pieces as it is read.
class ZipArchive {
public:
    // No part may inflate past this, whatever sizes it declares: a ZIP bomb stops here, and
    // reading time stays bounded. A gigabyte: ten times the largest tube list expected (100,000
    // rows).
    static constexpr std::uint64_t kMaxPartSize = std::uint64_t{1} << 30;

    // The archive's directory, or why it is no readable ZIP (in words for the user).
    static Expected<ZipArchive, std::string> Open(std::istream& in);

    [[nodiscard]] bool Has(std::string_view name) const { return m_parts.contains(name); }

    // Hands on the part's text in pieces; stops at the first error the sink returns. Fails when
    // the part is missing, encrypted, damaged, or inflates past kMaxPartSize.
    using PieceSink = std::function<std::optional<InputError>(std::string_view)>;
    [[nodiscard]] std::optional<InputError> Read(std::string_view name, const PieceSink& sink);

private:
    struct Part {
        std::uint16_t flags = 0;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t packedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t headerOffset = 0;
    };

    explicit ZipArchive(std::istream& in) : m_in(&in) {}

    std::istream* m_in;
    std::map<std::string, Part, std::less<>> m_parts;
};

}  // namespace tongqiu::table
