#pragma once

#include <string_view>

struct lxw_worksheet;

namespace tongqiu::table {

// The height of a line of the default font, in points.
inline constexpr double kLineHeight = 15;

// The lines a text takes wrapped in a column `width` characters wide (a digit's width each,
// with a little room either side): a Chinese character is some two digits wide.
int WrappedLines(std::string_view text, double width);

// The height of a row of headings that wrap into `lines` lines, in points; at most four lines.
double HeadingRowHeight(int lines);

// Sets a sheet up to print on A4 across: landscape, one page wide and as many long as it takes,
// with gridlines and the page's number in the footer.
// Returns libxlsxwriter's error, if any.
int SetUpPrinting(lxw_worksheet* sheet);

}  // namespace tongqiu::table
