#include "xlsx/write/print_layout.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tongqiu::table {

int WrappedLines(std::string_view text, double width) {
    double units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) units += 1;
        if (byte >= 0xE0) units += 2.1;  // the lead byte of a three-byte character
    }
    return static_cast<int>(std::ceil(units / (width + 0.7)));
}

double HeadingRowHeight(int lines) { return kLineHeight * std::min(lines, 4); }

int SetUpPrinting(lxw_worksheet* sheet) {
    constexpr std::uint8_t kA4 = 9;
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kA4);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);
    worksheet_set_margins(sheet, 0.4, 0.4, 0.6, 0.6);  // inches: narrower at the sides
    return worksheet_set_footer(sheet, "&C第 &P 页，共 &N 页");
}

}  // namespace tongqiu::table
