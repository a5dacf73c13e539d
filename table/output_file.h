#pragma once

#include <filesystem>
#include <memory>

#include "tongqiu/table/table_conversion.h"

namespace tongqiu::table {

// The writer of an output file at `path` (created or emptied), in the format asked for.
std::unique_ptr<TableWriter> FileWriter(const std::filesystem::path& path,
                                        const WriterRequest& request);

// A workbook's writer, as this system writes one (output_file_threads.cpp, output_file_web.cpp).
std::unique_ptr<TableWriter> WorkbookFileWriter(const std::filesystem::path& path,
                                                const WriterRequest& request);

}  // namespace tongqiu::table
