#include <algorithm>

#include "csv/csv.h"
#include "table_input.h"

namespace tongqiu::table {

std::optional<TableError> ReadCsv(ByteSource& in, std::string_view text,
                                  const TableReading& reading) {
    std::string block;
    const bool byteOrderMark = text.starts_with(kUtf8ByteOrderMark);
    const bool guessed = !reading.input && !byteOrderMark;
    const Encoding encoding = reading.input.value_or(DetectEncoding(text));
    if (byteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());

    CsvReader reader(reading.start({TableFormat::Csv, encoding, ""}));
    // UTF-8 goes through the converter too, which checks every block, not only the first.
    Transcoder decoder(encoding, Encoding::Utf8);
    if (!decoder.Ready()) return TableError{TableFault::NoConverter};
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
        if (auto error = feed()) return error;
        if (valid) text = ReadBlock(in, block);
    }
    if (valid) {
        valid = decoder.Finish(decoded);
        if (auto error = feed()) return error;
    }
    if (!valid) {
        if (encoding == Encoding::Gb18030) return TableError{TableFault::NotGb18030, reader.Line()};
        if (!guessed || !onlyAscii) return TableError{TableFault::NotUtf8, reader.Line()};
        if (!in.Seek(0)) return TableError{TableFault::NotUtf8Unreadable, reader.Line()};
        TableReading again = reading;
        again.input = Encoding::Gb18030;
        return ReadCsv(in, ReadBlock(in, block), again);
    }
    if (in.Failed()) return TableError{TableFault::ReadFailed};
    return reader.Finish();
}

}  // namespace tongqiu::table
