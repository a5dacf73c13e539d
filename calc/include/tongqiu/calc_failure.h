#pragma once

#include <optional>

#include "tongqiu/expected.h"
#include "tongqiu/field_set.h"

namespace tongqiu {

enum class FailureKind {
    TypeMismatch,       // a text is empty or not a number
    DivisionByZero,     // a non-zero number divided by zero
    Overflow,           // a number or a result too large for a double, or 0 divided by 0
    InvalidDimensions,  // the dimensions describe no real tube
};

// Which dimension made a tube impossible, checked in this order.
enum class InvalidDimension {
    None,
    NegativeOuterDiameter,
    NonPositiveWallThickness,
    NegativeBendRadius,
    NonPositiveInnerDiameter,  // the wall is half the outer diameter or thicker
};

// Why a calculation stopped. It names the input field whose text or value caused it, so that the
// window can send the user there; failures that no input explains carry no field.
struct CalcFailure {
    FailureKind kind{};
    std::optional<FieldName> field = std::nullopt;
    InvalidDimension dimension = InvalidDimension::None;

    friend bool operator==(const CalcFailure&, const CalcFailure&) = default;
};

// A number from a step that can fail, or the kind of failure that left none; the step that called
// it knows which field to blame.
using CheckedValue = Expected<double, FailureKind>;

}  // namespace tongqiu
