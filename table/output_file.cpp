#include "output_file.h"

#include <cstdio>

#include "csv/csv_writer.h"

namespace tongqiu::table {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::FILE* OpenForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");  // the name as Windows has it, whatever its characters
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

// Writes CSV into a file of its own, through the C library's files (the page links no streams).
class CsvFile : public TableWriter {
public:
    CsvFile(const std::filesystem::path& path, Encoding encoding)
        : m_file(OpenForWriting(path)),
          m_writer(
              [this](std::string_view bytes) {
                  return m_file &&
                         std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) == bytes.size();
              },
              encoding) {}
    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override {
        return m_writer.Write(row, results);
    }
    std::optional<TableError> Finish() override {
        auto error = m_writer.Finish();
        const bool closed = m_file && std::fclose(m_file.release()) == 0;
        if (!error && !closed) error = TableError{TableFault::OutputFailed};
        return error;
    }

private:
    std::unique_ptr<std::FILE, FileCloser> m_file;
    CsvWriter m_writer;
};

}  // namespace

std::unique_ptr<TableWriter> FileWriter(const std::filesystem::path& path,
                                        const WriterRequest& request) {
    if (request.format == TableFormat::Xlsx) return WorkbookFileWriter(path, request);
    return std::make_unique<CsvFile>(path, request.encoding);
}

}  // namespace tongqiu::table
