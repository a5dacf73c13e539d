#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "tongqiu/result_columns.h"
#include "tongqiu/table/row.h"

namespace tongqiu::table {

// What a text after a row's cells is, and how it is written.
enum class ResultRole : std::uint8_t {
    Result,       // a number with two places
    Ratio,        // R/Dw, with six
    Ball,         // a ball the tube is tested with, with two places
    KitNumber,    // the kit's 球号 for the ball before it: text
    KitDiameter,  // that ball's 直径, with two places
    Explanation,  // 说明: text, wrapping
};

// The texts that follow a row's cells: one for each result column, then 说明; where the table
// names each tube's kind, 选用通球 before 说明; with a kit, the kit's 球号 and 直径 after each
// ball the tube is tested with (the three kinds', or 选用通球).
inline constexpr std::size_t kResultTexts = kResultColumns.size() + 1;
inline constexpr std::size_t kMostResultTexts = kResultTexts + 6;

// The headings of a kit ball's columns.
inline constexpr std::string_view kKitNumberColumn = "球号";
inline constexpr std::string_view kKitDiameterColumn = "球径";

// What a row gets beside its own cells: the headings on the header, the texts on a computed row.
struct RowResults {
    std::size_t column = 0;  // where they start: the header's width, the row padded up to it
    std::size_t count = kResultTexts;
    std::array<std::string_view, kMostResultTexts> texts{};  // the results empty on a failed row
    std::array<ResultRole, kMostResultTexts> roles{};
    bool heading = false;                   // the header's row
    bool withBalls = false;                 // a tube's row whose balls are there
    std::optional<RowFault> failure;        // a tube's row's first failure, said in 说明
    std::optional<std::size_t> kindColumn;  // the header's 类型, which a record shows whole

    [[nodiscard]] std::span<const std::string_view> Texts() const { return {texts.data(), count}; }
};

// Where a converted table goes, one row after the other, in its format. A row without results
// (above the header, or empty) is written as it was; with them, its cells up to the header's
// width, the results, then the cells beyond.
class TableWriter {
public:
    virtual ~TableWriter() = default;
    TableWriter() = default;
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    [[nodiscard]] virtual std::optional<TableError> Write(const TableRow& row,
                                                          const RowResults* results) = 0;
    // Completes the file; its error, if it could not be written.
    [[nodiscard]] virtual std::optional<TableError> Finish() = 0;
};

}  // namespace tongqiu::table
