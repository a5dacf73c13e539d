#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "csv/csv.h"
#include "tongqiu/calculate.h"
#include "tongqiu/expected.h"

namespace tongqiu::table {

// Where a table's header puts the outer diameter, the wall thickness and the bend radius, in the
// order of kInputFields.
using InputColumns = std::array<std::size_t, 3>;

// Finds the three input columns by their headings, in any position: 外径 or Dw, 壁厚 or t,
// 弯曲半径 or R (Latin names in any case), with white space around a heading ignored and a unit
// after it allowed ("外径(mm)", "外径（mm）"). Fails with an InputError (without a line) naming
// the heading that is missing or found twice.
Expected<InputColumns, InputError> FindInputColumns(const std::vector<std::string>& header);

}  // namespace tongqiu::table
