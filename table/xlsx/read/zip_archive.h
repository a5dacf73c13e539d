#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "tongqiu/expected.h"
#include "tongqiu/table/byte_source.h"
#include "tongqiu/table/row.h"

namespace tongqiu::table {

// The parts of a ZIP file (a workbook is one), read from a source that can seek. Only the
// central directory is held; a part is inflated in pieces as it is read.
class ZipArchive {
public:
    // No part may inflate past this, whatever sizes it declares: a ZIP bomb stops here. A
    // gigabyte: the sheet of a million rows that a spreadsheet holds at most is some 600 MB.
    static constexpr std::uint64_t kMaxPartSize = std::uint64_t{1} << 30;

    // All the reading of one archive, every part and every time, inflates at most this much plus
    // kInflationRatio times the archive's own size, so that the time it takes follows the file's
    // size. A workbook's XML packs five to twenty times; a crafted file packs a thousand times.
    static constexpr std::uint64_t kInflationAllowance = std::uint64_t{32} << 20;
    static constexpr std::uint64_t kInflationRatio = 50;

    // The archive's directory, or why it is no readable ZIP.
    static Expected<ZipArchive, TableError> Open(ByteSource& in);

    // Whether a source that can seek ends as a ZIP file does: with the record that closes its
    // directory, its comment reaching exactly to the end. Leaves the reading at `at`, where it
    // was; one that cannot seek is not looked at.
    static bool EndsAsZip(ByteSource& in, std::uint64_t at);

    // Counts what reading inflates, and text that it makes beyond that (a shared string copied
    // into each cell that names it), against the allowance; false once it is spent.
    [[nodiscard]] bool Charge(std::uint64_t bytes) {
        if (bytes > m_inflationLeft) return false;
        m_inflationLeft -= bytes;
        return true;
    }

    [[nodiscard]] bool Has(std::string_view name) const { return m_parts.contains(name); }

    // Hands on the part's text in pieces until the sink returns false. Fails, naming the part,
    // when it is missing, encrypted, damaged, inflates past kMaxPartSize, or the archive's
    // reading past its allowance.
    using PieceSink = std::function<bool(std::string_view)>;
    [[nodiscard]] std::optional<TableError> Read(std::string_view name, const PieceSink& sink);

private:
    struct Part {
        std::uint16_t flags = 0;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t packedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t headerOffset = 0;
    };

    ZipArchive(ByteSource& in, std::uint64_t size)
        : m_in(&in), m_inflationLeft(kInflationAllowance + kInflationRatio * size) {}

    ByteSource* m_in;
    std::uint64_t m_inflationLeft;
    std::map<std::string, Part, std::less<>> m_parts;
};

}  // namespace tongqiu::table
