// Feeds arbitrary bytes to the table conversion. It must end either with every row written or
// with a refusal of the input, of a kind that fits what the input is; in a UTF-8 table every row
// that has all its cells must carry exactly what Calculate gives for its three inputs.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "csv/csv.h"
#include "csv/csv_writer.h"
#include "input_columns.h"
#include "require.h"
#include "tongqiu/calculate.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_messages.h"
#include "tongqiu/table/table_writer.h"
#include "tongqiu/table/text_encoding.h"

namespace {

using namespace tongqiu;

// Whether the row failed. A row that has all its cells shows exactly what Calculate gives, with
// the inputs read as the conversion reads them; where the table names kinds, the chosen ball is
// the kind's, and a row without a kind fails with its results still there.
bool CheckRow(const std::vector<std::string>& cells, std::size_t width,
              const table::InputColumns& columns, std::optional<table::RowFault> failure) {
    const std::size_t results = table::kResultTexts + (columns.kind ? 1 : 0);
    Require(cells.size() >= width + results, "a row has all the result columns");
    const std::string& explanation = cells[width + results - 1];
    Require(explanation.empty() == !failure, "a row's failure is said in 说明");
    if (failure == table::RowFault::MissingCells) return true;
    FieldSet fields;
    for (std::size_t i = 0; i < kInputFields.size(); ++i) {
        fields.Set(kInputFields[i], cells[columns.inputs[i]]);
    }
    const auto size = columns.size ? table::ReadTubeSize(cells[*columns.size]) : std::nullopt;
    if (size) {
        fields.Set(FieldName::Text1, std::string(size->outer));
        fields.Set(FieldName::Text2, std::string(size->wall));
    }
    const bool computes = (!columns.size || size) && !Calculate(fields).has_value();
    Require(computes != cells[width].empty(), "results exactly where Calculate gives them");
    Require(!computes || (cells[width] == fields.Get(FieldName::Text11) &&
                          cells[width + 10] == fields.Get(FieldName::Text6)),
            "the results as Calculate shows them");
    const auto kind = columns.kind ? table::ReadTubeKind(cells[*columns.kind]) : std::nullopt;
    Require(!kind || !computes || cells[width + 11] == fields.Get(*kind), "the kind's ball");
    Require(explanation.empty() == (computes && (!columns.kind || kind)),
            "a row fails exactly when it cannot be computed or has no kind");
    return !explanation.empty();
}

// CSV, and each tube's row's failure as the conversion gives it.
class Recorded : public table::CsvWriter {
public:
    Recorded(std::string& out, table::Encoding encoding,
             std::vector<std::optional<table::RowFault>>& failures)
        : CsvWriter(
              [&out](std::string_view bytes) {
                  out.append(bytes);
                  return true;
              },
              encoding),
          m_failures(failures) {}
    std::optional<table::TableError> Write(const table::TableRow& row,
                                           const table::RowResults* results) override {
        if (results != nullptr && !results->heading) m_failures.push_back(results->failure);
        return CsvWriter::Write(row, results);
    }

private:
    std::vector<std::optional<table::RowFault>>& m_failures;
};

// A refusal: of the input (the output is memory), in words; of a workbook's kind only where the
// input may be one (a ZIP, or a compound file), and of a CSV's text naming no part.
void CheckRefusal(const table::TableError& error, std::string_view input) {
    using table::TableFault;
    Require(!error.InOutput(), "the output in memory takes everything");
    Require(!table::TableErrorMessage(error).empty(), "a refusal says why");
    const bool mayBeWorkbook = input.starts_with("PK") || input.starts_with("\xD0\xCF\x11\xE0") ||
                               input.find("PK\x05\x06") != std::string_view::npos;
    Require(error.fault < TableFault::PipedWorkbookTooLarge || mayBeWorkbook,
            "a workbook's refusal only for what may be one");
    Require(error.fault < TableFault::NotGb18030 || error.fault > TableFault::UnclosedQuote ||
                error.part.empty(),
            "a CSV's refusal names no part");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    table::BytesSource in{std::string(input)};
    std::string out;
    std::vector<std::optional<table::RowFault>> failures;  // each tube's row's, in order
    const auto summary = table::ConvertTable(in, [&](const table::WriterRequest& request) {
        out.clear();  // read again from the start
        failures.clear();
        return std::make_unique<Recorded>(out, request.encoding, failures);
    });
    if (!summary) {
        CheckRefusal(summary.error(), input);
        return 0;
    }
    if (!out.starts_with(table::kUtf8ByteOrderMark)) return 0;  // GB18030: it did not crash
    std::size_t width = 0;  // of the header; none until it is read
    table::InputColumns columns{};
    std::size_t failed = 0;
    std::size_t tube = 0;
    table::CsvReader reader([&](const table::TableRow& record) {
        if (width == 0) {  // rows above the header name no input column: they stay as they were
            const auto found = table::FindInputColumns(record.cells);
            if (found) {
                columns = *found;
                width = record.cells.size() - (table::kResultTexts + (columns.kind ? 1 : 0));
            }
        } else if (!record.cells.empty()) {
            Require(tube < failures.size(), "each tube's row is written with its results");
            failed += CheckRow(record.cells, width, columns, failures[tube++]) ? 1 : 0;
        }
        return std::nullopt;
    });
    const bool read =
        !reader.Feed(std::string_view(out).substr(table::kUtf8ByteOrderMark.size())) &&
        !reader.Finish();
    Require(read, "the output reads back as CSV");
    Require(failed == summary->failedRows, "every failed row is counted");
    return 0;
}
