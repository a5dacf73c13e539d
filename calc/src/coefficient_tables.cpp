#include "tongqiu/coefficient_tables.h"

namespace tongqiu {

// Table 10 by inner diameter; each band includes its upper bound.
double Table10Coefficient(double innerDiameter) {
    if (innerDiameter <= 25.0) return 0.75;
    if (innerDiameter <= 40.0) return 0.80;
    if (innerDiameter <= 55.0) return 0.85;
    return 0.90;
}

// Table 11 by the ratio R/Dw; each band includes its upper bound. The table itself has no row for
// ratios from 1.0 to 1.4; they take 0.65 like the ratios below 1.0, which is also what table 12
// gives there. A coefficient of 0 would show a ball of 0.00 for bent tubes with no table 12 entry.
double Table11Coefficient(double ratio) {
    if (ratio <= 1.4) return 0.65;
    if (ratio <= 1.8) return 0.70;
    if (ratio <= 2.5) return 0.80;
    if (ratio <= 3.5) return 0.85;
    return 0.90;
}

// Table 12 by outer diameter and ratio. Unlike the other tables, each ratio band includes its
// lower bound. There is no entry for outer diameters above 76.
double Table12Coefficient(double outerDiameter, double ratio) {
    if (outerDiameter > 76.0) return 0.0;
    if (ratio < 1.4) return 0.65;
    if (ratio < 1.8) return 0.70;
    if (outerDiameter <= 32.0) return 0.70;
    if (ratio < 2.5) return 0.75;
    return outerDiameter >= 60.0 ? 0.85 : 0.80;
}

}  // namespace tongqiu
