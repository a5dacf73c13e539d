#include <algorithm>

#include "csv/csv.h"
#include "row_conversion.h"
#include "table_input.h"

namespace tongqiu::table {
namespace {

// The sheet name a CSV's results get in a workbook.
const std::string kCsvSheetName = "通球";

}  // namespace

Expected<TableSummary, TableError> ConvertCsv(std::istream& in, std::string_view text,
                                              const WriterFactory& output, TableOptions options) {
    std::string block;
    const bool byteOrderMark = text.starts_with(kUtf8ByteOrderMark);
    const bool guessed = !options.input && !byteOrderMark;
    const Encoding encoding = options.input.value_or(DetectEncoding(text));
    if (byteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());

    const auto writer = output({options.outputFormat.value_or(TableFormat::Csv), kCsvSheetName,
                                options.output.value_or(encoding), options.inputName, ""});
    Conversion conversion(*writer, false, options.progress);
    CsvReader reader([&](const TableRow& row) { return conversion.Take(row); });
    // UTF-8 goes through the converter too, which checks every block, not only the first.
    Transcoder decoder(encoding, Encoding::Utf8);
    if (!decoder.Ready()) return Finished(TableError{TableFault::NoConverter}, conversion, *writer);
    bool onlyAscii = true;  // so far: then GB18030 reads the same text
    std::string decoded;
    // Hands on what converted, so that the line of any trouble is known.
    const auto feed = [&] {
        onlyAscii = onlyAscii && std::all_of(decoded.begin(), decoded.end(), [](char c) {
                        return static_cast<unsigned char>(c) < 0x80;
                    });
        auto error = reader.Feed(decoded);
        decoded.clear();
        return error;
    };
    bool valid = true;
    while (valid && !text.empty()) {
        valid = decoder.Convert(text, decoded);
        if (auto error = feed()) return Finished(error, conversion, *writer);
        if (valid) text = ReadBlock(in, block);
    }
    if (valid) {
        valid = decoder.Finish(decoded);
        if (auto error = feed()) return Finished(error, conversion, *writer);
    }
    if (!valid) {
        std::optional<TableError> error;
        if (encoding == Encoding::Gb18030) {
            error = TableError{TableFault::NotGb18030, reader.Line()};
        } else if (!guessed || !onlyAscii) {
            error = TableError{TableFault::NotUtf8, reader.Line()};
        } else {
            in.clear();
            if (!in.seekg(0)) {
                error = TableError{TableFault::NotUtf8Unreadable, reader.Line()};
            }
        }
        if (error) return Finished(error, conversion, *writer);
        (void)writer->Finish();
        options.input = Encoding::Gb18030;
        return ConvertCsv(in, ReadBlock(in, block), output, options);
    }
    if (in.bad()) return Finished(TableError{TableFault::ReadFailed}, conversion, *writer);
    return Finished(reader.Finish(), conversion, *writer);
}

}  // namespace tongqiu::table
