#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "csv.h"
#include "tongqiu/field_set.h"

namespace tongqiu::batch {

// The three inputs of a tube, in the order of their fields Text1, Text2, Text3.
inline constexpr std::array<FieldName, 3> kInputFields{FieldName::Text1, FieldName::Text2,
                                                       FieldName::Text3};

// Where a table's header puts the outer diameter, the wall thickness and the bend radius.
using InputColumns = std::array<std::size_t, 3>;

// Finds the three input columns by their headings, in any position: 外径 or Dw, 壁厚 or t,
// 弯曲半径 or R (Latin names in any case), with white space around a heading ignored and a unit
// after it allowed ("外径(mm)", "外径（mm）"). Throws InputError (without a line) naming the
// heading that is missing or found twice.
InputColumns FindInputColumns(const std::vector<std::string>& header);

}  // namespace tongqiu::batch
