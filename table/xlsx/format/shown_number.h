#pragma once

#include <string>

#include "tongqiu/table/row.h"

namespace tongqiu::table {

// The text a spreadsheet shows for a number in a format, as LibreOffice Calc writes it when it
// saves a sheet as CSV "as shown": fixed decimals ("0", "0.00", "#,##0.000", ...) rounded from the
// number's 15 significant digits, half away from zero; General (and the text format "@") with at
// most 15 significant digits. Any other format is shown as General, and `known` says so.
std::string ShownNumber(double value, const NumberFormat* format, bool& known);

}  // namespace tongqiu::table
