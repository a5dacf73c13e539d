// The problems of a checked 通球记录 as a table to file or print: 序号, the tube's identifying
// cells, 问题 (wrapping, as a 说明).
#include <xlsxwriter.h>

#include "output_file.h"
#include "tongqiu/table/record_check.h"
#include "xlsx/write/sheet_writer.h"

namespace tongqiu::table {
namespace {

constexpr std::string_view kProblemHeading = "问题";

// Writes the header, then each problem, to `writer`.
std::optional<TableError> WriteRows(const RecordCheck& check, TableWriter& writer) {
    TableRow row;
    row.cells = {"序号"};
    row.ending = "\r\n";
    row.line = 1;
    row.cells.insert(row.cells.end(), check.identityHeadings.begin(), check.identityHeadings.end());
    RowResults results;
    results.column = row.cells.size();
    results.count = 1;
    results.heading = true;
    results.texts[0] = kProblemHeading;
    results.roles[0] = ResultRole::Explanation;
    if (auto error = writer.Write(row, &results)) return error;
    results.heading = false;
    for (const RecordProblem& problem : check.problems) {
        ++row.line;
        row.cells.assign(results.column, "");
        if (problem.number > 0) row.cells[0] = std::to_string(problem.number);
        for (std::size_t i = 0; i < problem.identity.size() && i + 1 < row.cells.size(); ++i) {
            row.cells[i + 1] = problem.identity[i];
        }
        results.texts[0] = problem.text;
        if (auto error = writer.Write(row, &results)) return error;
    }
    return writer.Finish();
}

}  // namespace

std::optional<TableError> WriteProblems(const RecordCheck& check, const std::filesystem::path& path,
                                        TableFormat format) {
    if (format == TableFormat::Csv) {
        const auto writer = FileWriter(path, {TableFormat::Csv, "", Encoding::Utf8, "", ""});
        return WriteRows(check, *writer);
    }
    WorkbookFile book(path);
    lxw_worksheet* sheet = book.AddSheet("通球检查");
    if (sheet == nullptr) return TableError{TableFault::OutputFailed};
    ResultsSheet problems(book, sheet);
    if (auto error = WriteRows(check, problems)) return error;
    return book.Close();
}

}  // namespace tongqiu::table
