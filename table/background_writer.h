#pragma once

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tongqiu/table/table_writer.h"

namespace tongqiu::table {

// Hands rows to another writer that writes them on a thread of its own, so that a slow format
// (a workbook's XML) is written while the next rows are read and computed. Rows go across in
// batches, copied into buffers that are used again. A write that fails is told at the next
// hand-over or at Finish; the rows after it are not written.
class BackgroundWriter : public TableWriter {
public:
    explicit BackgroundWriter(std::unique_ptr<TableWriter> writer);
    ~BackgroundWriter() override;

    std::optional<TableError> Write(const TableRow& row, const RowResults* results) override;
    std::optional<TableError> Finish() override;

private:
    // A row and its results, owning their texts.
    struct Item {
        TableRow row;
        std::array<std::string, kMostResultTexts> texts;
        RowResults results;
        bool hasResults = false;
        std::size_t bytes = 0;  // what the row's texts take
    };
    using Batch = std::vector<Item>;

    std::optional<TableError> Hand();  // the filled batch to the writing thread
    void Run();                        // the writing thread
    std::optional<TableError> Stop();  // waits for the writing thread to end

    std::unique_ptr<TableWriter> m_writer;
    Batch m_filling;  // the caller's
    std::size_t m_filled = 0;
    std::size_t m_filledBytes = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Batch m_ready;                // handed over, not yet taken
    std::size_t m_readyRows = 0;  // none: nothing handed over
    bool m_ending = false;
    std::optional<TableError> m_error;
    std::thread m_thread;
};

}  // namespace tongqiu::table
