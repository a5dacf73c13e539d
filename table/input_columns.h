#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv/csv.h"
#include "tongqiu/calculate.h"
#include "tongqiu/expected.h"
#include "tongqiu/field_set.h"

namespace tongqiu::table {

// Where a table's header puts the tube's dimensions, and its kind where it names one.
struct InputColumns {
    // The outer diameter, the wall thickness and the bend radius, in the order of kInputFields;
    // where `size` is known, the first two are not used.
    std::array<std::size_t, 3> inputs{};
    std::optional<std::size_t> size;  // 规格, "Φ38×4", in place of 外径 and 壁厚
    std::optional<std::size_t> kind;  // 类型: which of the three kinds of tube each row is
};

// The other names the input columns go by, in the same order.
inline constexpr std::array<std::string_view, 3> kLatinNames{"Dw", "t", "R"};

inline constexpr std::string_view kSizeHeading = "规格";
inline constexpr std::string_view kKindHeading = "类型";

// A cell's text without the white space a spreadsheet leaves around it, the ideographic space
// included.
std::string_view Trimmed(std::string_view text);

// A row's cell in `column`, trimmed; none beyond the row's end.
std::string_view TrimmedCell(const TableRow& row, std::size_t column);

// Whether every cell of a row is empty or white space.
bool IsBlank(const TableRow& row);

// A heading's name: without white space around it, nor a unit in brackets after it ("外径(mm)",
// "外径（mm）").
std::string_view HeadingName(std::string_view heading);

// Finds the columns by their headings, in any position: 外径 or Dw, 壁厚 or t, 弯曲半径 or R
// (Latin names in any case), with white space around a heading ignored and a unit after it
// allowed ("外径(mm)", "外径（mm）"). A header without 外径 or 壁厚 may give both in one 规格
// column; 类型 is optional. Fails with a TableError (without a line) naming the heading that is
// missing or found twice.
Expected<InputColumns, TableError> FindInputColumns(const std::vector<std::string>& header);

// A tube's size as drawings write it: an optional diameter sign (Φ φ Ø ø), the outer diameter, a
// multiplication sign (× x X * ＊, or a full-width x), the wall thickness; white space around each
// part. Each number in any form the window takes, left as its text for the calculation to read.
struct TubeSize {
    std::string_view outer;
    std::string_view wall;
};
std::optional<TubeSize> ReadTubeSize(std::string_view text);

// The field of the ball for the kind of tube a 类型 cell names (Text4, Text5 or Text6), by the
// window's caption, its two halves in either order ("无弯头有拼接焊缝"), white space around
// ignored.
std::optional<FieldName> ReadTubeKind(std::string_view text);

}  // namespace tongqiu::table
