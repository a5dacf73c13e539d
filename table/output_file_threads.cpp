#include "background_writer.h"
#include "output_file.h"
#include "xlsx/write/xlsx_writer.h"

namespace tongqiu::table {

// Writing a workbook takes longer than reading and computing its rows: it goes on a thread of
// its own.
std::unique_ptr<TableWriter> WorkbookFileWriter(const std::filesystem::path& path,
                                                const WriterRequest& request) {
    return std::make_unique<BackgroundWriter>(std::make_unique<XlsxWriter>(path, request));
}

}  // namespace tongqiu::table
