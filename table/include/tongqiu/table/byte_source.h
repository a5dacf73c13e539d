#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace tongqiu::table {

// Where a table's bytes are read from: a file, standard input, or bytes already in memory.
class ByteSource {
public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    virtual ~ByteSource() = default;

    // Reads up to `size` bytes from where the reading is into `out`: how many, fewer only at the
    // end or when reading fails.
    virtual std::size_t Read(char* out, std::size_t size) = 0;
    // Goes to `offset` bytes from the start; false where it cannot (a pipe, or past the end).
    virtual bool Seek(std::uint64_t offset) = 0;
    // The whole size, where it is known before the end is read (not a pipe's).
    virtual std::optional<std::uint64_t> Size() = 0;
    // Whether reading has failed (a disk's error), not merely ended.
    [[nodiscard]] virtual bool Failed() const { return false; }
};

// Bytes held in memory.
class BytesSource final : public ByteSource {
public:
    explicit BytesSource(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::size_t Read(char* out, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::optional<std::uint64_t> Size() override { return m_bytes.size(); }

private:
    std::string m_bytes;
    std::size_t m_at = 0;
};

// A standard stream: a file the caller opened, or standard input (stream_source.cpp, which the
// page, having no streams, does not link).
class StreamSource final : public ByteSource {
public:
    explicit StreamSource(std::istream& in) : m_in(in) {}

    std::size_t Read(char* out, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::optional<std::uint64_t> Size() override;
    [[nodiscard]] bool Failed() const override;

private:
    std::istream& m_in;
};

}  // namespace tongqiu::table
