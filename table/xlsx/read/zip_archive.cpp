#include "xlsx/read/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace tongqiu::table {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kEntrySignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kMaxComment = 0xFFFF;
constexpr std::size_t kEntrySize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kPiece = std::size_t{1} << 16;
constexpr std::uint16_t kEncrypted = 1;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

std::uint32_t Little(const char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8U) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

bool ReadAt(ByteSource& in, std::uint64_t offset, char* out, std::size_t size) {
    return in.Seek(offset) && in.Read(out, size) == size;
}

// The last bytes of a file of `end` bytes, as many as can hold the record that ends a ZIP file and
// its comment. Empty when they cannot be read.
std::vector<char> ReadTail(ByteSource& in, std::uint64_t end) {
    std::vector<char> tail(std::min<std::uint64_t>(end, kEndSize + kMaxComment));
    if (!ReadAt(in, end - tail.size(), tail.data(), tail.size())) tail.clear();
    return tail;
}

// Where in `tail` the record that ends a ZIP file starts: the last signature found, searched
// from the end; with `reachingEnd`, only one whose comment reaches exactly to the end.
std::optional<std::size_t> FindEndRecord(const std::vector<char>& tail, bool reachingEnd) {
    for (std::size_t at = tail.size() < kEndSize ? 0 : tail.size() - kEndSize + 1; at-- > 0;) {
        if (Little(&tail[at], 4) != kEndSignature) continue;
        if (!reachingEnd || at + kEndSize + Little(&tail[at + 20], 2) == tail.size()) return at;
    }
    return std::nullopt;
}

// A stream that inflates a part, ended on every way out of the reading.
struct Inflater {
    z_stream stream{};
    bool started = false;

    Inflater() = default;
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    ~Inflater() {
        if (started) inflateEnd(&stream);
    }
    bool Start() {
        started = inflateInit2(&stream, -MAX_WBITS) == Z_OK;
        return started;
    }
};

}  // namespace

bool ZipArchive::EndsAsZip(ByteSource& in, std::uint64_t at) {
    const auto end = in.Size();
    if (!end) return false;
    const std::vector<char> tail = ReadTail(in, *end);
    return in.Seek(at) && FindEndRecord(tail, true).has_value();
}

Expected<ZipArchive, TableError> ZipArchive::Open(ByteSource& in) {
    const TableError damaged{TableFault::ArchiveDamaged};
    const std::uint64_t end = in.Size().value_or(0);
    const std::vector<char> bytes = ReadTail(in, end);
    const auto found = FindEndRecord(bytes, false);
    if (!found) return damaged;
    const std::size_t at = *found;
    const std::uint32_t count = Little(&bytes[at + 10], 2);
    const std::uint64_t directorySize = Little(&bytes[at + 12], 4);
    const std::uint64_t directoryOffset = Little(&bytes[at + 16], 4);
    if (count == 0xFFFF || directoryOffset == 0xFFFFFFFF) return TableError{TableFault::Zip64};
    if (directoryOffset + directorySize > end) return damaged;

    ZipArchive archive(in, end);
    std::vector<char> directory(directorySize);
    if (!ReadAt(in, directoryOffset, directory.data(), directory.size())) return damaged;
    std::size_t position = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (position + kEntrySize > directory.size()) return damaged;
        const char* entry = &directory[position];
        if (Little(entry, 4) != kEntrySignature) return damaged;
        const std::size_t nameSize = Little(entry + 28, 2);
        const std::size_t skipped = Little(entry + 30, 2) + Little(entry + 32, 2);
        if (position + kEntrySize + nameSize > directory.size()) return damaged;
        Part part{static_cast<std::uint16_t>(Little(entry + 8, 2)),
                  static_cast<std::uint16_t>(Little(entry + 10, 2)),
                  Little(entry + 16, 4),
                  Little(entry + 20, 4),
                  Little(entry + 24, 4),
                  Little(entry + 42, 4)};
        archive.m_parts.insert_or_assign(std::string(entry + kEntrySize, nameSize), part);
        position += kEntrySize + nameSize + skipped;
    }
    return archive;
}

std::optional<TableError> ZipArchive::Read(std::string_view name, const PieceSink& sink) {
    const auto fault = [&](TableFault what) {
        TableError error{what};
        error.part = name;
        return error;
    };
    const auto found = m_parts.find(name);
    if (found == m_parts.end()) return fault(TableFault::PartMissing);
    const Part& part = found->second;
    const auto damaged = [&] { return fault(TableFault::PartDamaged); };
    if ((part.flags & kEncrypted) != 0) return fault(TableFault::PasswordProtected);
    if (part.method != kStored && part.method != kDeflated) {
        return fault(TableFault::UnsupportedCompression);
    }
    std::array<char, kLocalSize> local{};
    if (!ReadAt(*m_in, part.headerOffset, local.data(), local.size()) ||
        Little(local.data(), 4) != kLocalSignature ||
        !m_in->Seek(part.headerOffset + kLocalSize + Little(&local[26], 2) +
                    Little(&local[28], 2))) {
        return damaged();
    }

    Inflater inflater;
    if (part.method == kDeflated && !inflater.Start()) return damaged();
    z_stream& stream = inflater.stream;
    std::vector<char> packed(kPiece);
    std::vector<char> text(kPiece);
    std::uint64_t left = part.packedSize;
    std::uint64_t size = 0;
    uLong crc = crc32(0, nullptr, 0);
    int status = Z_OK;
    while (left > 0 && status != Z_STREAM_END) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPiece));
        if (m_in->Read(packed.data(), want) != want) break;
        left -= want;
        std::optional<TableError> error;
        bool stopped = false;  // by the sink
        const auto hand = [&](const char* piece, std::size_t count) {
            size += count;
            if (size > kMaxPartSize || !Charge(count)) {
                error = fault(TableFault::InflatesTooLarge);
            } else if (count > 0) {
                crc = crc32(crc, reinterpret_cast<const Bytef*>(piece), static_cast<uInt>(count));
                stopped = !sink(std::string_view(piece, count));
            }
        };
        if (part.method == kStored) {
            hand(packed.data(), want);
        } else {
            stream.next_in = reinterpret_cast<Bytef*>(packed.data());
            stream.avail_in = static_cast<uInt>(want);
            // A full output buffer may leave more to come; one with room means all was taken.
            do {
                stream.next_out = reinterpret_cast<Bytef*>(text.data());
                stream.avail_out = static_cast<uInt>(text.size());
                status = inflate(&stream, Z_NO_FLUSH);
                if (status == Z_BUF_ERROR) status = Z_OK;  // nothing to do until more comes
                if (status != Z_OK && status != Z_STREAM_END) break;
                hand(text.data(), text.size() - stream.avail_out);
            } while (!error && !stopped && status == Z_OK && stream.avail_out == 0);
        }
        if (error || stopped) return error;
        if (status != Z_OK && status != Z_STREAM_END) break;
    }
    const bool complete = part.method == kStored ? left == 0 : status == Z_STREAM_END;
    if (!complete || size != part.size || crc != part.crc) return damaged();
    return std::nullopt;
}

}  // namespace tongqiu::table
