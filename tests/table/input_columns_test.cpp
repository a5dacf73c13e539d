#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_columns.h"

namespace tongqiu::table {
namespace {

// A header's cells, split at its commas.
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) c == ',' ? (void)cells.emplace_back() : cells.back().push_back(c);
    return cells;
}

TEST(InputColumns, FoundByHeadingInAnyPositionOrNamedWhenMissing) {
    const std::pair<std::string, std::string> headers[] = {
        {"外径,壁厚,弯曲半径", "0 1 2"},
        {"R,t,Dw", "2 1 0"},
        {"备注,dw \u3000, T\t,\u3000r（mm）", "1 2 3"},
        {"外径(mm),壁厚 (mm),弯曲半径", "0 1 2"},
        {"外径,壁厚", "missing 弯曲半径"},
        {"外径径,壁厚,弯曲半径,Dwt", "missing 外径"},
        {"外径,壁厚,弯曲半径,t", "twice 壁厚"}};
    for (const auto& [header, expected] : headers) {
        const auto columns = FindInputColumns(Cells(header));
        std::string found;
        if (!columns) {
            const bool missing = columns.error().fault == TableFault::ColumnMissing;
            found = (missing ? "missing " : "twice ") + columns.error().name;
        }
        for (std::size_t i = 0; columns && i < columns->size(); ++i) {
            found.append(i == 0 ? "" : " ").append(std::to_string((*columns)[i]));
        }
        EXPECT_EQ(found, expected) << header;
    }
}

}  // namespace
}  // namespace tongqiu::table
