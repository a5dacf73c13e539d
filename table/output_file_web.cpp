#include "output_file.h"
#include "xlsx/write/xlsx_writer.h"

namespace tongqiu::table {

// The page's worker has no threads: the workbook is written as its rows come.
std::unique_ptr<TableWriter> WorkbookFileWriter(const std::filesystem::path& path,
                                                const WriterRequest& request) {
    return std::make_unique<XlsxWriter>(path, request);
}

}  // namespace tongqiu::table
