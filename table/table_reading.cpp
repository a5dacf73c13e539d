#include <string>

#include "table_input.h"
#include "xlsx/read/xlsx_reader.h"

namespace tongqiu::table {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;

// A workbook from standard input is held whole, up to this size (a million rows take 100 MB).
constexpr std::size_t kMaxPipedWorkbook = std::size_t{128} << 20;

}  // namespace

std::string_view ReadBlock(ByteSource& in, std::string& block) {
    block.resize(kBlock);
    return {block.data(), in.Read(block.data(), block.size())};
}

std::optional<TableError> ReadTable(ByteSource& in, const TableReading& reading,
                                    std::vector<std::string>& unknownFormats) {
    std::string block;
    std::string piece;
    const std::string_view start = ReadBlock(in, block);
    if (IsCompoundFile(start)) return RefuseCompoundFile(in);
    // A ZIP file is known by its start, or by its end when something was put before it.
    if (!IsZip(start) && !ZipArchive::EndsAsZip(in, start.size())) {
        auto error = ReadCsv(in, start, reading);  // which starts before anything else
        if (reading.end) reading.end(error);
        return error;
    }
    if (in.Seek(0)) return ReadWorkbook(in, reading, unknownFormats);
    // A workbook from standard input, which cannot go back: it is read whole, up to a size.
    block.resize(start.size());
    while (block.size() <= kMaxPipedWorkbook && !ReadBlock(in, piece).empty()) block.append(piece);
    if (block.size() > kMaxPipedWorkbook) return TableError{TableFault::PipedWorkbookTooLarge};
    BytesSource whole(std::move(block));
    return ReadWorkbook(whole, reading, unknownFormats);
}

}  // namespace tongqiu::table
