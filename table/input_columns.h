#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "csv/csv.h"
#include "tongqiu/calculate.h"
#include "tongqiu/expected.h"

namespace tongqiu::table {

// Where a table's header puts the outer diameter, the wall thickness and the bend radius, in the
// order of kInputFields.
using InputColumns = std::array<std::size_t, 3>;

// The other names the input columns go by, in the same order.
inline constexpr std::array<std::string_view, 3> kLatinNames{"Dw", "t", "R"};

// Finds the three input columns by their headings, in any position: 外径 or Dw, 壁厚 or t,
// 弯曲半径 or R (Latin names in any case), with white space around a heading ignored and a unit
// after it allowed ("外径(mm)", "外径（mm）"). Fails with an TableError (without a line) naming
// the heading that is missing or found twice.
Expected<InputColumns, TableError> FindInputColumns(const std::vector<std::string>& header);

}  // namespace tongqiu::table
