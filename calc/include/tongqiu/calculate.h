#pragma once

#include <array>
#include <optional>

#include "tongqiu/calc_failure.h"
#include "tongqiu/field_set.h"

namespace tongqiu {

// Reads the outer diameter, wall thickness and bend radius from Text1, Text2 and Text3 and fills
// the other eleven fields step by step. Each step reads the earlier results back from their
// fields, so every value used is the one shown. On failure the fields already written keep their
// new texts and the later ones keep what they had; the failure is returned.
std::optional<CalcFailure> Calculate(FieldSet& fields);

// The three fields Calculate reads: outer diameter, wall thickness, bend radius.
inline constexpr std::array<FieldName, 3> kInputFields{FieldName::Text1, FieldName::Text2,
                                                       FieldName::Text3};

// The eleven fields that Calculate writes, in the order it writes them.
inline constexpr std::array<FieldName, 11> kCalculatedFields{
    FieldName::Text7, FieldName::Text11, FieldName::Text8,  FieldName::Text13,
    FieldName::Text9, FieldName::Text14, FieldName::Text10, FieldName::Text15,
    FieldName::Text4, FieldName::Text5,  FieldName::Text6,
};

}  // namespace tongqiu
