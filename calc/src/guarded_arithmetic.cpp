#include "tongqiu/guarded_arithmetic.h"

#include <cmath>

#include "tongqiu/calc_failure.h"

namespace tongqiu {
namespace {

// The operands are finite (every one comes from a field's text), so a non-finite result can only
// mean an overflow or an invalid operation. Testing the values instead of the floating-point
// exception flags keeps the guard intact under optimisation and on every compiler.
double Checked(double result) {
    if (!std::isfinite(result)) {
        throw CalcFailure{FailureKind::Overflow};
    }
    return result;
}

}  // namespace

double Divide(double dividend, double divisor) {
    if (divisor == 0.0) {
        throw CalcFailure{dividend == 0.0 ? FailureKind::Overflow : FailureKind::DivisionByZero};
    }
    return Checked(dividend / divisor);
}

double Add(double a, double b) { return Checked(a + b); }

double Subtract(double a, double b) { return Checked(a - b); }

double Multiply(double a, double b) { return Checked(a * b); }

}  // namespace tongqiu
