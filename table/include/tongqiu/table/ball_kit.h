#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tongqiu/expected.h"
#include "tongqiu/table/byte_source.h"
#include "tongqiu/table/table_error.h"

namespace tongqiu::table {

// A ball of the bench's kit: its 球号, its measured 直径 (mm) and that shown with two places or
// as many as were typed, its 备注, and the kit's line it is on.
struct KitBall {
    std::string number;
    double diameter = 0;
    std::string diameterText;
    std::string remark;
    long line = 0;
};

// Diameters a rounding error apart are the same diameter.
inline constexpr double kDiameterSlack = 1e-9;

// The most balls a kit may hold.
inline constexpr std::size_t kMaxKitBalls = 10000;

// What a kit is read with: its columns' headings (a unit after 直径 allowed, "直径(mm)").
inline constexpr std::string_view kKitNumberHeading = "球号";
inline constexpr std::string_view kKitDiameterHeading = "直径";
inline constexpr std::string_view kKitRemarkHeading = "备注";

// The bench's kit of balls (通球球库), read from a table, CSV or workbook, like a list of tubes:
// a header with 球号 and 直径 (and 备注 if wanted) in its first 20 rows, a ball a row after it.
class BallKit {
public:
    // Reads a kit. Refused, with the line to blame: a column missing, an empty or repeated 球号, a
    // 直径 that is no number or not above 0, no ball at all, more than kMaxKitBalls balls.
    static Expected<BallKit, TableError> Read(ByteSource& in);

    [[nodiscard]] const std::vector<KitBall>& Balls() const { return m_balls; }

    // The ball for a test with a ball of `ball` mm in a tube of `inner` mm inner diameter: the
    // smallest not below `ball` and below `inner`, nor more than `maxOver` above `ball` where that
    // is given; of two the same, the first in the kit. None where the kit has no such ball.
    [[nodiscard]] const KitBall* Choose(double ball, double inner,
                                        std::optional<double> maxOver) const;

    // The ball whose 球号 is `number`, white space around it ignored.
    [[nodiscard]] const KitBall* Find(std::string_view number) const;

private:
    std::vector<KitBall> m_balls;
    std::vector<std::size_t> m_bySize;  // by diameter, then by order in the kit
    std::vector<double> m_sizes;        // their diameters, in that order
    std::map<std::string, std::size_t, std::less<>> m_byNumber;  // each ball by its 球号
};

}  // namespace tongqiu::table
