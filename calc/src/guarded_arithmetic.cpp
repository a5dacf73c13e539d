#include "tongqiu/guarded_arithmetic.h"

#include <cmath>

namespace tongqiu {
namespace {

// The operands are finite (every one comes from a field's text), so a non-finite result can only
// mean an overflow or an invalid operation. Testing the values instead of the floating-point
// exception flags keeps the guard intact under optimisation and on every compiler.
CheckedValue Checked(double result) {
    if (!std::isfinite(result)) return FailureKind::Overflow;
    return result;
}

}  // namespace

CheckedValue Divide(double dividend, double divisor) {
    if (divisor == 0.0) {
        return dividend == 0.0 ? FailureKind::Overflow : FailureKind::DivisionByZero;
    }
    return Checked(dividend / divisor);
}

CheckedValue Add(double a, double b) { return Checked(a + b); }

CheckedValue Subtract(double a, double b) { return Checked(a - b); }

CheckedValue Multiply(double a, double b) { return Checked(a * b); }

}  // namespace tongqiu
