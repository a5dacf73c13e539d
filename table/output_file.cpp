#include "output_file.h"

#include <fstream>

#include "csv/csv_writer.h"

namespace tongqiu::table {
namespace {

// Writes CSV into a file of its own.
class CsvFile : public TableWriter {
public:
    CsvFile(const std::filesystem::path& path, Encoding encoding)
        : m_file(path, std::ios::binary | std::ios::trunc), m_writer(m_file, encoding) {}
    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override {
        return m_writer.Write(row, results);
    }
    std::optional<TableError> Finish() override {
        auto error = m_writer.Finish();
        m_file.close();
        return error;
    }

private:
    std::ofstream m_file;
    CsvWriter m_writer;
};

}  // namespace

std::unique_ptr<TableWriter> FileWriter(const std::filesystem::path& path,
                                        const WriterRequest& request) {
    if (request.format == TableFormat::Xlsx) return WorkbookFileWriter(path, request);
    return std::make_unique<CsvFile>(path, request.encoding);
}

}  // namespace tongqiu::table
