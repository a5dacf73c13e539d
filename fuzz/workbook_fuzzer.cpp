// Feeds arbitrary bytes to the workbook reader (ZIP, inflating, XML, shared strings, number
// formats). It must end either with every sheet read or with a refusal of a workbook's kind, in
// words, and hand on rows in order, each with as many values as texts, every stored number
// finite.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>

#include "require.h"
#include "tongqiu/table/table_messages.h"
#include "xlsx/read/xlsx_reader.h"

namespace {

using namespace tongqiu::table;

// A workbook is refused for what is wrong with the workbook, never with a CSV's or the output's
// kinds, and a fault inside a part names the part.
void CheckRefusal(const TableError& error) {
    Require(!TableErrorMessage(error).empty(), "a refusal says why");
    Require(error.fault >= TableFault::SheetMissing && !error.InOutput(), "a workbook's kind");
    Require(error.fault < TableFault::PartMissing || !error.part.empty(), "the part is named");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BytesSource in(std::string(reinterpret_cast<const char*>(data), size));
    auto workbook = WorkbookReader::Open(in);
    if (!workbook) {
        CheckRefusal(workbook.error());
        return 0;
    }
    std::set<std::string> read;  // as the conversion does: each part once
    for (std::size_t sheet = 0; sheet < workbook->SheetNames().size(); ++sheet) {
        if (!read.insert(workbook->SheetPart(sheet)).second) continue;
        long line = 0;
        const auto error = workbook->ReadSheet(sheet, [&](const TableRow& row) {
            Require(row.line == line + 1, "rows come in order, none left out");
            Require(row.values.size() == row.cells.size(), "every cell has its value");
            for (const CellValue& value : row.values)
                Require(std::isfinite(value.number), "numbers finite");
            line = row.line;
            return std::nullopt;
        });
        if (error) CheckRefusal(*error);
    }
    return 0;
}
