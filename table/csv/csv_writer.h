#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "tongqiu/table/table_writer.h"
#include "tongqiu/table/text_encoding.h"

namespace tongqiu::table {

// Where written bytes go: false once they can no longer be written (a full disk, a closed pipe).
using ByteOutput = std::function<bool(std::string_view bytes)>;

// Writes CSV in UTF-8 (starting with a byte-order mark, for Excel) or in GB18030. Each row ends as
// it did when read.
class CsvWriter : public TableWriter {
public:
    CsvWriter(ByteOutput out, Encoding encoding);

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override;

private:
    void AppendCells(const TableRow& row, std::size_t first, std::size_t last);

    ByteOutput m_out;
    bool m_failed = false;
    Encoding m_encoding;
    std::optional<Transcoder> m_encoder;
    std::string m_line;
    std::string m_encoded;
};

}  // namespace tongqiu::table
