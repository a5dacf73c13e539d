#include <gtest/gtest.h>

#include "tongqiu/coefficient_tables.h"

namespace tongqiu {
namespace {

TEST(CoefficientTables, Tables10And11BandsIncludeTheirUpperBound) {
    const std::pair<double, double> table10[] = {{-3, 0.75},   {25, 0.75},    {25.01, 0.80},
                                                 {40, 0.80},   {40.01, 0.85}, {55, 0.85},
                                                 {55.01, 0.90}};
    for (const auto& [innerDiameter, c] : table10) EXPECT_EQ(Table10Coefficient(innerDiameter), c);
    const std::pair<double, double> table11[] = {
        {0.999999, 0.65}, {1.0, 0.65}, {1.4, 0.65},      {1.400001, 0.70}, {1.8, 0.70},
        {1.800001, 0.80}, {2.5, 0.80}, {2.500001, 0.85}, {3.5, 0.85},      {3.500001, 0.90}};
    for (const auto& [ratio, c] : table11) EXPECT_EQ(Table11Coefficient(ratio), c) << ratio;
}

TEST(CoefficientTables, Table12RatioBandsIncludeTheirLowerBound) {
    const std::tuple<double, double, double> table12[] = {
        {32, 1.0, 0.65},    {32, 1.4, 0.70},      {32, 3.0, 0.70},    {32.01, 1.399999, 0.65},
        {32.01, 1.8, 0.75}, {32.01, 2.5, 0.80},   {59.99, 1.8, 0.75}, {59.99, 2.499999, 0.75},
        {60, 2.5, 0.85},    {60, 1.799999, 0.70}, {76, 1.4, 0.70},    {76, 1.399999, 0.65},
        {76.01, 0.5, 0.0},  {76.01, 3.0, 0.0}};
    for (const auto& [outer, ratio, c] : table12) {
        EXPECT_EQ(Table12Coefficient(outer, ratio), c) << outer << ", " << ratio;
    }
}

}  // namespace
}  // namespace tongqiu
