#pragma once

namespace tongqiu {

// Arithmetic on finite operands that stops the calculation instead of producing an infinity or a
// NaN. Each throws CalcFailure (without a field): DivisionByZero for a non-zero number divided by
// zero, Overflow for 0 / 0 and for a result beyond the range of a double.
double Divide(double dividend, double divisor);
double Add(double a, double b);
double Subtract(double a, double b);
double Multiply(double a, double b);

}  // namespace tongqiu
