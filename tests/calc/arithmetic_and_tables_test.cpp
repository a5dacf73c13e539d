#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "tongqiu/calc_failure.h"
#include "tongqiu/coefficient_tables.h"
#include "tongqiu/guarded_arithmetic.h"

namespace tongqiu {
namespace {

struct Failing {
    std::string what;
    std::function<double()> operation;
    FailureKind kind;
};

// These run in the optimised build too: the guard must survive the optimiser.
TEST(GuardedArithmetic, StopsOnDivisionByZeroAndOverflow) {
    constexpr double big = 1e308;
    const Failing cases[] = {
        {"1 / 0", [] { return Divide(1.0, 0.0); }, FailureKind::DivisionByZero},
        {"-1 / -0", [] { return Divide(-1.0, -0.0); }, FailureKind::DivisionByZero},
        {"0 / 0", [] { return Divide(0.0, 0.0); }, FailureKind::Overflow},
        {"big / tiny", [] { return Divide(big, 1e-10); }, FailureKind::Overflow},
        {"big + big", [] { return Add(big, big); }, FailureKind::Overflow},
        {"-big - big", [] { return Subtract(-big, big); }, FailureKind::Overflow},
        {"big * 10", [] { return Multiply(big, 10.0); }, FailureKind::Overflow},
    };
    for (const auto& [what, operation, kind] : cases) {
        try {
            operation();
            ADD_FAILURE() << what << " did not fail";
        } catch (const CalcFailure& failure) {
            EXPECT_EQ(failure.kind, kind) << what;
        }
    }
}

TEST(GuardedArithmetic, UnderflowAndInexactResultsAreNoFailures) {
    EXPECT_EQ(Multiply(1e-200, 1e-200), 0.0);
    EXPECT_EQ(Divide(1.0, 3.0), 1.0 / 3.0);
    EXPECT_EQ(Subtract(std::numeric_limits<double>::max(), 1.0),
              std::numeric_limits<double>::max());
}

struct Row {
    double a;
    double b;
    double coefficient;
};

TEST(CoefficientTables, Table10BandsIncludeTheirUpperBound) {
    const Row rows[] = {{-3, 0, 0.75},    {25, 0, 0.75}, {25.01, 0, 0.80}, {40, 0, 0.80},
                        {40.01, 0, 0.85}, {55, 0, 0.85}, {55.01, 0, 0.90}};
    for (const auto& [innerDiameter, unused, coefficient] : rows) {
        EXPECT_EQ(Table10Coefficient(innerDiameter), coefficient) << innerDiameter;
    }
}

TEST(CoefficientTables, Table11BandsIncludeTheirUpperBound) {
    const Row rows[] = {
        {0.999999, 0, 0.65}, {1.0, 0, 0.65}, {1.2, 0, 0.65},      {1.4, 0, 0.65},
        {1.400001, 0, 0.70}, {1.8, 0, 0.70}, {1.800001, 0, 0.80}, {2.5, 0, 0.80},
        {2.500001, 0, 0.85}, {3.5, 0, 0.85}, {3.500001, 0, 0.90}, {100, 0, 0.90},
    };
    for (const auto& [ratio, unused, coefficient] : rows) {
        EXPECT_EQ(Table11Coefficient(ratio), coefficient) << ratio;
    }
}

TEST(CoefficientTables, Table12RatioBandsIncludeTheirLowerBound) {
    const Row rows[] = {
        {32, 1.0, 0.65},         {32, 1.4, 0.70},    {32, 1.8, 0.70},      {32, 3.0, 0.70},
        {32.01, 1.399999, 0.65}, {32.01, 1.8, 0.75}, {32.01, 2.5, 0.80},   {59.99, 1.8, 0.75},
        {59.99, 2.499999, 0.75}, {60, 2.5, 0.85},    {60, 1.799999, 0.70}, {76, 1.4, 0.70},
        {76, 1.399999, 0.65},    {76, 2.0, 0.75},    {76.01, 0.5, 0.0},    {76.01, 3.0, 0.0},
    };
    for (const auto& [outerDiameter, ratio, coefficient] : rows) {
        EXPECT_EQ(Table12Coefficient(outerDiameter, ratio), coefficient)
            << outerDiameter << ", " << ratio;
    }
}

}  // namespace
}  // namespace tongqiu
