#include "check/record_layout.h"

#include <algorithm>

#include "tongqiu/result_columns.h"
#include "tongqiu/table/table_writer.h"

namespace tongqiu::table {
namespace {

// The headings that tell tubes apart, where a table has them.
constexpr std::array<std::string_view, 5> kIdentityHeadings{"图号", "管号", "编号", "件号", "名称"};

constexpr std::string_view kNumberHeading = "序号";

// What follows a signer's name on their line.
constexpr std::string_view kColon = "：";

}  // namespace

std::optional<RecordColumns> FindRecordColumns(const std::vector<std::string>& header) {
    if (header.empty() || HeadingName(header[0]) != kNumberHeading) return std::nullopt;
    const auto last = [&](std::string_view heading, std::size_t before) {
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < std::min(before, header.size()); ++i) {
            if (HeadingName(header[i]) == heading) found = i;
        }
        return found;
    };
    const auto result = last(kRecordFillIn[1], header.size());
    const auto inspector = last(kRecordFillIn[2], header.size());
    const auto date = last(kRecordFillIn[3], header.size());
    if (!result || !inspector || !date) return std::nullopt;
    RecordColumns columns{*result, *inspector, *date, last(kRecordFillIn[0], *result), {}, {}, {}};
    if (columns.ball && *columns.ball + 1 < header.size() &&
        HeadingName(header[*columns.ball + 1]) == kKitDiameterColumn) {
        columns.ballDiameter = *columns.ball + 1;
    }
    // The table's own columns end where the balls begin.
    std::size_t own = 1;
    const auto isBall = [](std::string_view name) {
        return name == kChosenBallHeading ||
               std::any_of(kResultColumns.end() - 3, kResultColumns.end(),
                           [&](const ResultColumn& column) { return column.heading == name; });
    };
    while (own < *result && !isBall(HeadingName(header[own]))) ++own;
    const std::vector<std::string> ownHeadings(header.begin(),
                                               header.begin() + std::ptrdiff_t(own));
    if (auto inputs = FindInputColumns(ownHeadings)) columns.inputs = *inputs;
    for (std::size_t i = 1; i < own; ++i) {
        const std::string_view name = HeadingName(header[i]);
        if (std::find(kIdentityHeadings.begin(), kIdentityHeadings.end(), name) !=
            kIdentityHeadings.end()) {
            columns.identity.push_back(i);
        }
    }
    return columns;
}

std::optional<std::size_t> SignerOf(const TableRow& row) {
    const std::string_view first = TrimmedCell(row, 0);
    for (std::size_t i = 0; i < kSigners.size(); ++i) {
        if (first.starts_with(kSigners[i]) &&
            first.substr(kSigners[i].size()).starts_with(kColon)) {
            return i;
        }
    }
    return std::nullopt;
}

bool Signed(const TableRow& row, std::size_t signer) {
    const std::string_view line =
        TrimmedCell(row, 0).substr(kSigners[signer].size() + kColon.size());
    std::string name(line.substr(0, line.find("日期")));
    for (const std::string_view blank : {"＿", "_", " ", "\u3000"}) {
        for (std::size_t at; (at = name.find(blank)) != std::string::npos;) {
            name.erase(at, blank.size());
        }
    }
    return !name.empty() ||
           std::any_of(row.cells.begin() + 1, row.cells.end(),
                       [](const std::string& cell) { return !Trimmed(cell).empty(); });
}

}  // namespace tongqiu::table
