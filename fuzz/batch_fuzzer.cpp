// Feeds arbitrary bytes to tongqiu-batch's table conversion. It must end either with every row
// written or with InputError; in a UTF-8 table every row that has all its cells must carry exactly
// what Calculate gives for its three inputs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "csv.h"
#include "input_columns.h"
#include "table_conversion.h"
#include "text_encoding.h"
#include "tongqiu/calculate.h"

namespace {

using namespace tongqiu;

void Require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", invariant);
    std::abort();
}

void CheckRow(const std::vector<std::string>& cells, std::size_t width,
              const batch::InputColumns& columns, std::size_t& failed) {
    Require(cells.empty() || cells.size() >= width + 12, "a row has all the result columns");
    if (cells.empty()) return;
    if (cells[width + 11].starts_with("缺少单元格")) {
        ++failed;
        return;
    }
    FieldSet fields;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        fields.Set(batch::kInputFields[i], cells[columns[i]]);
    }
    const bool computes = !Calculate(fields).has_value();
    Require(computes == cells[width + 11].empty(), "a row fails exactly when Calculate does");
    failed += computes ? 0 : 1;
    Require(!computes || cells[width] == fields.Get(FieldName::Text11), "inner diameter as shown");
    Require(!computes || cells[width + 10] == fields.Get(FieldName::Text6), "result as shown");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    std::size_t failedRows = 0;
    try {
        failedRows = batch::ConvertTable(in, out);
    } catch (const batch::InputError& error) {
        Require(!error.message.empty(), "an error says what is wrong");
        return 0;
    }
    std::string written = out.str();
    if (!written.starts_with(batch::kUtf8ByteOrderMark)) return 0;  // GB18030: it did not crash
    std::size_t width = 0;
    batch::InputColumns columns{};
    std::size_t failed = 0;
    bool header = true;
    batch::CsvReader reader([&](const batch::CsvRecord& record) {
        if (header) {
            width = record.cells.size() - 12;
            columns = batch::FindInputColumns(record.cells);
            header = false;
        } else {
            CheckRow(record.cells, width, columns, failed);
        }
    });
    reader.Feed(std::string_view(written).substr(batch::kUtf8ByteOrderMark.size()));
    reader.Finish();
    Require(failed == failedRows, "every failed row is counted");
    return 0;
}
