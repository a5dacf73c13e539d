#include "background_writer.h"

#include <utility>

namespace tongqiu::table {
namespace {

// Rows handed over at a time: enough that the threads seldom wait on each other, few enough that
// the buffers stay small.
constexpr std::size_t kBatchRows = 256;

// A batch is handed over sooner when its rows hold this much, and a row that held more than
// kKeptBytes gives its memory back once written: a few long rows (a workbook's cells may hold
// 32,767 characters each) do not leave every buffer holding as much.
constexpr std::size_t kBatchBytes = std::size_t{1} << 20;
constexpr std::size_t kKeptBytes = std::size_t{4} << 10;

// What a row's texts take, roughly.
std::size_t BytesOf(const TableRow& row) {
    std::size_t bytes = row.cells.size() * (sizeof(std::string) + sizeof(CellValue));
    for (const std::string& cell : row.cells) bytes += cell.size();
    return bytes;
}

}  // namespace

BackgroundWriter::BackgroundWriter(std::unique_ptr<TableWriter> writer)
    : m_writer(std::move(writer)),
      m_filling(kBatchRows),
      m_ready(kBatchRows),
      m_thread([this] { Run(); }) {}

BackgroundWriter::~BackgroundWriter() { (void)Stop(); }

std::optional<TableError> BackgroundWriter::Write(const TableRow& row, const RowResults* results) {
    Item& item = m_filling[m_filled++];
    // Assigned, not constructed: the texts reuse what the buffer's strings already hold.
    item.row.cells.assign(row.cells.begin(), row.cells.end());
    item.row.values.assign(row.values.begin(), row.values.end());
    item.row.ending = row.ending;  // a literal of the reader's
    item.row.line = row.line;
    item.bytes = BytesOf(row);
    m_filledBytes += item.bytes;
    item.hasResults = results != nullptr;
    if (results != nullptr) {
        item.results = *results;
        for (std::size_t i = 0; i < results->count; ++i) item.texts[i].assign(results->texts[i]);
    }
    if (m_filled == m_filling.size() || m_filledBytes >= kBatchBytes) return Hand();
    return std::nullopt;
}

std::optional<TableError> BackgroundWriter::Finish() {
    auto handed = m_filled > 0 ? Hand() : std::nullopt;
    auto written = Stop();
    if (handed) return handed;
    if (written) return written;
    return m_writer->Finish();
}

std::optional<TableError> BackgroundWriter::Hand() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_readyRows == 0 || m_error; });
    if (m_error) return m_error;
    std::swap(m_filling, m_ready);
    m_readyRows = std::exchange(m_filled, 0);
    m_filledBytes = 0;
    m_changed.notify_all();
    return std::nullopt;
}

void BackgroundWriter::Run() {
    Batch writing(kBatchRows);
    for (;;) {
        std::size_t rows = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_readyRows > 0 || m_ending; });
            if (m_readyRows == 0) return;  // ending, and everything handed over is written
            std::swap(writing, m_ready);
            rows = std::exchange(m_readyRows, 0);
            m_changed.notify_all();
        }
        for (std::size_t i = 0; i < rows; ++i) {
            Item& item = writing[i];
            for (std::size_t column = 0; column < item.results.count; ++column)
                item.results.texts[column] = item.texts[column];
            if (auto error = m_writer->Write(item.row, item.hasResults ? &item.results : nullptr)) {
                const std::lock_guard lock(m_mutex);
                m_error = std::move(error);
                m_changed.notify_all();
                return;
            }
            if (item.bytes > kKeptBytes) item.row = {};
        }
    }
}

std::optional<TableError> BackgroundWriter::Stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    return m_error;
}

}  // namespace tongqiu::table
