#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "csv/csv.h"
#include "csv/csv_writer.h"

namespace tongqiu::table {
namespace {

struct Read {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> endings;
    std::optional<TableError> error;
};

// Feeds `text` in pieces of `piece` bytes.
Read ReadCsv(const std::string& text, std::size_t piece) {
    Read read;
    CsvReader reader([&](const TableRow& record) {
        read.records.push_back(record.cells);
        read.endings.emplace_back(record.ending);
        return std::nullopt;
    });
    std::optional<TableError> error;
    for (std::size_t at = 0; at < text.size() && !error; at += piece) {
        error = reader.Feed(std::string_view(text).substr(at, piece));
    }
    if (!error) error = reader.Finish();
    read.error = error;
    return read;
}

// Quoted cells keep commas, quotes and line breaks; every line's ending is kept; a record is the
// same whatever pieces its text arrives in.
TEST(CsvReader, RecordsKeepTheirCellsAndEndingsInPiecesOfAnySize) {
    const std::string text = "a,\"b,\"\"c\"\"\nd\"\r\n\r\n,x\"y,\rlast";
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{7}, text.size()}) {
        const Read read = ReadCsv(text, piece);
        EXPECT_FALSE(read.error);
        EXPECT_EQ(read.records, (std::vector<std::vector<std::string>>{
                                    {"a", "b,\"c\"\nd"}, {}, {"", "x\"y", ""}, {"last"}}))
            << piece;
        EXPECT_EQ(read.endings, (std::vector<std::string>{"\r\n", "\r\n", "\r", ""})) << piece;
    }
}

TEST(CsvReader, ACellOfAMegabyteIsReadAndOneByteMoreIsRefusedAtItsLine) {
    const std::string megabyte(1'048'576, '7');
    EXPECT_FALSE(ReadCsv("x\n1," + megabyte + "\n", 1 << 16).error);
    const auto tooLarge = ReadCsv("x\n1," + megabyte + "7\n", 1 << 16).error;
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->fault, TableFault::CellTooLarge);
    EXPECT_EQ(tooLarge->line, 2);
    const auto open = ReadCsv("x\n\"open\n\n", 3).error;
    ASSERT_TRUE(open);
    EXPECT_EQ(open->fault, TableFault::UnclosedQuote);
    EXPECT_EQ(open->line, 2);
}

TEST(CsvWriter, AFailedWriteIsToldAsTheOutputs) {
    // Takes nothing, as a full disk or a closed pipe.
    CsvWriter writer([](std::string_view /*bytes*/) { return false; }, Encoding::Utf8);
    const TableRow row{{"38", "4", "76"}, {}, "\n", 1};
    std::optional<TableError> error = writer.Write(row, nullptr);
    if (!error) error = writer.Finish();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fault, TableFault::OutputFailed);
}

}  // namespace
}  // namespace tongqiu::table
