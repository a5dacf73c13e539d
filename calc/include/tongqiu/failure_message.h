#pragma once

#include <string>
#include <string_view>

#include "tongqiu/calc_failure.h"
#include "tongqiu/field_set.h"

namespace tongqiu {

// The caption of an input field as the window shows it ("外径", "壁厚", "弯曲半径"), UTF-8.
std::string_view CaptionOf(FieldName input);

// What went wrong, in plain Chinese words (UTF-8), naming the field to correct by its caption.
// Two sentences, the second on a line of its own.
std::string FailureMessage(const CalcFailure& failure);

}  // namespace tongqiu
