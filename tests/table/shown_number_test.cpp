#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "xlsx/format/shown_number.h"

namespace tongqiu::table {
namespace {

// What LibreOffice Calc shows for a number in a format, as it writes it to CSV "as shown".
TEST(ShownNumber, AsASpreadsheetShowsItInItsFormat) {
    struct Case {
        double value;
        int id;
        bool known;
        const char* code;
        const char* shown;
    };
    const Case cases[] = {
        {38, 0, true, "", "38"},
        {0.1 + 0.2, 0, true, "General", "0.3"},
        {-4.5, 0, true, "", "-4.5"},
        {0.000000015, 0, true, "", "0.000000015"},
        {1.25e-10, 0, true, "", "1.25E-10"},
        {123456789012345678.0, 0, true, "", "1.23456789012346E+017"},
        {19.45, 164, true, "0.0", "19.5"},  // the double is 19.4499...
        {2.675, 2, true, "", "2.68"},       // a built-in format known by its number alone
        {-2.5, 1, true, "", "-3"},
        {1234567.891, 4, true, "", "1,234,567.89"},
        {999.5, 3, true, "", "1,000"},
        {76, 164, true, "0.000000", "76.000000"},
        {3.5, 49, true, "", "3.5"},  // text format
        {1.5, 165, false, "0.0\" mm\"", "1.5"},
        {46000, 14, false, "", "46000"},   // a date
        {HUGE_VAL, 2, true, "", "#NUM!"},  // no number a reader hands on, and none shown
        {-NAN, 0, true, "", "#NUM!"},
    };
    for (const Case& c : cases) {
        const NumberFormat format{c.id, c.code};
        bool known = !c.known;
        EXPECT_EQ(ShownNumber(c.value, &format, known), c.shown) << c.code << " " << c.value;
        EXPECT_EQ(known, c.known) << c.code << " " << c.id;
    }
}

}  // namespace
}  // namespace tongqiu::table
