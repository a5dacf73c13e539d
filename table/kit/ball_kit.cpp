#include "tongqiu/table/ball_kit.h"

#include <algorithm>

#include "input_columns.h"
#include "table_input.h"
#include "tongqiu/number_text.h"

namespace tongqiu::table {
namespace {

// Where a kit's header puts its columns.
struct KitColumns {
    std::size_t number = 0;
    std::size_t diameter = 0;
    std::optional<std::size_t> remark;
};

Expected<KitColumns, TableError> FindKitColumns(const std::vector<std::string>& header) {
    const std::array<std::string_view, 3> headings{kKitNumberHeading, kKitDiameterHeading,
                                                   kKitRemarkHeading};
    std::array<std::optional<std::size_t>, 3> found;
    for (std::size_t column = 0; column < header.size(); ++column) {
        const std::string_view name = HeadingName(header[column]);
        for (std::size_t which = 0; which < headings.size(); ++which) {
            if (name != headings[which]) continue;
            if (found[which]) {
                return TableError{TableFault::ColumnTwice, 0, std::string(headings[which])};
            }
            found[which] = column;
        }
    }
    for (std::size_t which = 0; which < 2; ++which) {
        if (!found[which]) {
            return TableError{TableFault::KitColumnMissing, 0, std::string(headings[which])};
        }
    }
    return KitColumns{*found[0], *found[1], found[2]};
}

// The diameter's text with two places, or as many as were typed (up to six).
std::string DiameterText(double diameter, std::string_view typed) {
    int places = 0;
    if (const std::size_t point = typed.find('.'); point != std::string_view::npos) {
        while (point + 1 + places < typed.size() && typed[point + 1 + places] >= '0' &&
               typed[point + 1 + places] <= '9') {
            ++places;
        }
    }
    return FormatPlaces(diameter, std::clamp(places, 2, 6));
}

// Reads the balls of a kit row by row, once its header is found.
class KitReader {
public:
    std::optional<TableError> Take(const TableRow& row) {
        if (IsBlank(row)) return std::nullopt;
        if (!m_columns) return Header(row);
        return Ball(row);
    }

    // Why there is no kit, once the table has ended, if there is none.
    [[nodiscard]] std::optional<TableError> Missing() const {
        if (!m_columns) return m_firstNonHeader.value_or(TableError{TableFault::Empty});
        if (balls.empty()) return TableError{TableFault::KitEmpty};
        return std::nullopt;
    }

    // What it has read: the balls in the kit's order, and each by its 球号.
    std::vector<KitBall> balls;
    std::map<std::string, std::size_t, std::less<>> byNumber;

private:
    std::optional<TableError> Header(const TableRow& row) {
        auto columns = FindKitColumns(row.cells);
        if (columns) {
            m_columns = *columns;
            return std::nullopt;
        }
        if (!m_firstNonHeader) {
            m_firstNonHeader = columns.error();
            m_firstNonHeader->line = row.line;
        }
        if (++m_rowsAboveHeader == kHeaderSearchRows) return m_firstNonHeader;
        return std::nullopt;
    }

    std::optional<TableError> Ball(const TableRow& row) {
        if (balls.size() == kMaxKitBalls) return TableError{TableFault::KitTooLarge, row.line};
        KitBall ball;
        ball.line = row.line;
        ball.number = TrimmedCell(row, m_columns->number);
        if (ball.number.empty()) return TableError{TableFault::KitNumberEmpty, row.line};
        const auto [first, added] = byNumber.emplace(ball.number, balls.size());
        if (!added) {
            TableError error{TableFault::KitNumberTwice, row.line, ball.number};
            error.partLine = balls[first->second].line;
            return error;
        }
        const std::size_t column = m_columns->diameter;
        std::string_view text = TrimmedCell(row, column);
        if (column < row.values.size() && row.values[column].kind == CellValue::Kind::Number) {
            const CellValue& value = row.values[column];
            if (value.shows != Shows::Number) {
                return TableError{TableFault::KitDiameterNotNumber, row.line, std::string(text)};
            }
            if (!value.shownNumber.empty()) text = value.shownNumber;
        }
        const auto diameter = FieldValue(text);
        if (!diameter) {
            return TableError{TableFault::KitDiameterNotNumber, row.line,
                              std::string(TrimmedCell(row, column))};
        }
        if (!(*diameter > 0)) {
            return TableError{TableFault::KitDiameterNotPositive, row.line,
                              std::string(TrimmedCell(row, column))};
        }
        ball.diameter = *diameter;
        ball.diameterText = DiameterText(*diameter, text);
        if (m_columns->remark) ball.remark = TrimmedCell(row, *m_columns->remark);
        balls.push_back(std::move(ball));
        return std::nullopt;
    }

    std::optional<KitColumns> m_columns;
    std::optional<TableError> m_firstNonHeader;
    int m_rowsAboveHeader = 0;
};

}  // namespace

Expected<BallKit, TableError> BallKit::Read(ByteSource& in) {
    std::optional<KitReader> reader;
    TableReading reading;
    reading.isHeader = [](const std::vector<std::string>& cells) {
        return FindKitColumns(cells).has_value();
    };
    reading.start = [&](const TableStart&) -> RowSink {
        reader.emplace();
        return [&](const TableRow& row) { return reader->Take(row); };
    };
    std::vector<std::string> unknownFormats;  // a diameter in one is refused as no number
    if (auto error = ReadTable(in, reading, unknownFormats)) {
        if (error->fault == TableFault::NoSheetHasHeader) {
            error->choices = {std::string(kKitNumberHeading), std::string(kKitDiameterHeading)};
        }
        return *error;
    }
    if (auto missing = reader->Missing()) return *missing;
    BallKit kit;
    kit.m_balls = std::move(reader->balls);
    kit.m_byNumber = std::move(reader->byNumber);
    for (std::size_t i = 0; i < kit.m_balls.size(); ++i) kit.m_bySize.push_back(i);
    std::stable_sort(kit.m_bySize.begin(), kit.m_bySize.end(), [&](std::size_t a, std::size_t b) {
        return kit.m_balls[a].diameter < kit.m_balls[b].diameter;
    });
    for (const std::size_t i : kit.m_bySize) kit.m_sizes.push_back(kit.m_balls[i].diameter);
    return kit;
}

const KitBall* BallKit::Choose(double ball, double inner, std::optional<double> maxOver) const {
    const auto smallest = std::lower_bound(m_sizes.begin(), m_sizes.end(), ball - kDiameterSlack);
    if (smallest == m_sizes.end()) return nullptr;
    const KitBall& found = m_balls[m_bySize[std::size_t(smallest - m_sizes.begin())]];
    if (found.diameter >= inner - kDiameterSlack) return nullptr;
    if (maxOver && found.diameter > ball + *maxOver + kDiameterSlack) return nullptr;
    return &found;
}

const KitBall* BallKit::Find(std::string_view number) const {
    const auto found = m_byNumber.find(Trimmed(number));
    return found == m_byNumber.end() ? nullptr : &m_balls[found->second];
}

}  // namespace tongqiu::table
