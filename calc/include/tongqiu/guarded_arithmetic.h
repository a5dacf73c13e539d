#pragma once

#include "tongqiu/calc_failure.h"

namespace tongqiu {

// Arithmetic on finite operands that fails instead of producing an infinity or a NaN:
// DivisionByZero for a non-zero number divided by zero, Overflow for 0 / 0 and for a result beyond
// the range of a double.
CheckedValue Divide(double dividend, double divisor);
CheckedValue Add(double a, double b);
CheckedValue Subtract(double a, double b);
CheckedValue Multiply(double a, double b);

}  // namespace tongqiu
