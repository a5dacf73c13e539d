#include "background_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tongqiu::table {
namespace {

// A row as a recording writer keeps it.
std::string Text(const TableRow& row, const RowResults* results) {
    std::string text = std::to_string(row.line);
    text.append(":").append(row.cells.at(0));
    if (results != nullptr) text.append("|").append(results->Texts().back());
    return text;
}

// Keeps what it is given as text, and fails at one line if asked to.
class RecordingWriter : public TableWriter {
public:
    RecordingWriter(std::vector<std::string>& written, long failingLine)
        : m_written(written), m_failingLine(failingLine) {}
    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override {
        if (row.line == m_failingLine) return TableError{TableFault::OutputFailed, row.line};
        m_written.push_back(Text(row, results));
        return std::nullopt;
    }
    std::optional<TableError> Finish() override {
        m_written.emplace_back("finished");
        return std::nullopt;
    }

private:
    std::vector<std::string>& m_written;
    long m_failingLine;
};

// Writes `rows` rows, every third without results, and returns the first error met.
std::optional<TableError> WriteRows(TableWriter& writer, long rows,
                                    std::vector<std::string>& sent) {
    for (long line = 1; line <= rows; ++line) {
        const TableRow row{{std::to_string(line * 7)}, {}, "\n", line};
        std::string explanation = std::to_string(line * 11);
        RowResults results;
        results.texts[results.count - 1] = explanation;
        const RowResults* given = line % 3 != 0 ? &results : nullptr;
        sent.push_back(Text(row, given));
        // The caller's texts change as soon as the row is handed on.
        if (auto error = writer.Write(row, given)) return error;
    }
    return std::nullopt;
}

TEST(BackgroundWriter, WritesEveryRowInOrderWithItsResultsThenFinishes) {
    for (const long rows : {0L, 1L, 256L, 1000L}) {
        std::vector<std::string> written;
        std::vector<std::string> sent;
        BackgroundWriter writer(std::make_unique<RecordingWriter>(written, -1));
        ASSERT_FALSE(WriteRows(writer, rows, sent));
        ASSERT_FALSE(writer.Finish());
        sent.emplace_back("finished");
        EXPECT_EQ(written, sent) << rows << " rows";
    }
}

TEST(BackgroundWriter, AFailedWriteIsToldAndNothingAfterItIsWritten) {
    std::vector<std::string> written;
    std::vector<std::string> sent;
    BackgroundWriter writer(std::make_unique<RecordingWriter>(written, 300));
    auto error = WriteRows(writer, 1000, sent);
    const auto finished = writer.Finish();
    if (!error) error = finished;
    ASSERT_TRUE(error);
    EXPECT_EQ(error->line, 300);
    EXPECT_EQ(error->fault, TableFault::OutputFailed);
    ASSERT_EQ(written.size(), 299U);
    EXPECT_EQ(written.back(), sent[298]);
}

}  // namespace
}  // namespace tongqiu::table
