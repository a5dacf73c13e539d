#pragma once

namespace tongqiu {

// The ball coefficients of tables 10, 11 and 12. A coefficient of 0 means the table has no entry.
double Table10Coefficient(double innerDiameter);
double Table11Coefficient(double ratio);
double Table12Coefficient(double outerDiameter, double ratio);

}  // namespace tongqiu
