#pragma once

#include <optional>

#include "tongqiu/calc_failure.h"
#include "tongqiu/field_set.h"

namespace tongqiu {

// Reads the outer diameter, wall thickness and bend radius from Text1, Text2 and Text3 and fills
// the other eleven fields step by step. Each step reads the earlier results back from their
// fields, so every value used is the one shown. On failure the fields already written keep their
// new texts and the later ones keep what they had; the failure is returned.
std::optional<CalcFailure> Calculate(FieldSet& fields);

}  // namespace tongqiu
