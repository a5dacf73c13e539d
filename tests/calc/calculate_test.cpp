#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tongqiu/calculate.h"
#include "tongqiu/coefficient_tables.h"

namespace tongqiu {
namespace {

using enum FieldName;

TEST(CoefficientTables, BoundsFallInTheBandEachTableSays) {
    // Tables 10 and 11 put a bound in the band below it.
    const std::pair<double, double> table10[] = {{25, 0.75},    {25.01, 0.80}, {40, 0.80},
                                                 {40.01, 0.85}, {55, 0.85},    {55.01, 0.90}};
    for (const auto& [innerDiameter, c] : table10) EXPECT_EQ(Table10Coefficient(innerDiameter), c);
    const std::pair<double, double> table11[] = {
        {0.5, 0.65}, {1.4, 0.65},      {1.400001, 0.70}, {1.8, 0.70},     {1.800001, 0.80},
        {2.5, 0.80}, {2.500001, 0.85}, {3.5, 0.85},      {3.500001, 0.90}};
    for (const auto& [ratio, c] : table11) EXPECT_EQ(Table11Coefficient(ratio), c) << ratio;
    // Table 12 puts a ratio bound in the band above it; 32 and 76 belong to the bands below them.
    const std::tuple<double, double, double> table12[] = {
        {32, 1.399999, 0.65}, {32, 1.4, 0.70},         {32, 3.0, 0.70}, {32.01, 1.8, 0.75},
        {32.01, 2.5, 0.80},   {59.99, 2.499999, 0.75}, {60, 2.5, 0.85}, {60, 1.799999, 0.70},
        {76, 1.4, 0.70},      {76.01, 3.0, 0.0}};
    for (const auto& [outer, ratio, c] : table12) {
        EXPECT_EQ(Table12Coefficient(outer, ratio), c) << outer << ", " << ratio;
    }
}

// Runs Calculate on "Text1|Text2|Text3", every other field holding "_" as if from an earlier run,
// and gives the texts of the written fields in the order they are written.
std::pair<std::optional<CalcFailure>, std::string> Calculated(const std::string& inputs) {
    FieldSet fields;
    for (const FieldName name : kCalculatedFields) fields.Set(name, "_");
    std::istringstream in(inputs);
    for (const FieldName name : kInputFields) {
        std::string text;
        std::getline(in, text, '|');
        fields.Set(name, text);
    }
    const auto failure = Calculate(fields);
    std::string texts;
    for (const FieldName name : kCalculatedFields) texts += fields.Get(name) + " ";
    return {failure, texts};
}

TEST(Calculate, FillsEveryFieldAsInTheWorkedRuns) {
    const std::pair<std::string, std::string> runs[] = {
        {"38|4|76", "2.000000 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00 "},
        {"89|6|267", "3.000000 77.00 0.90 69.30 0.85 65.45 0.00 0.00 69.30 65.45 65.45 "},
        {"60|5|150", "2.500000 50.00 0.85 42.50 0.80 40.00 0.85 42.50 42.50 42.50 42.50 "},
        {"32|3.5|48", "1.500000 25.00 0.75 18.75 0.70 17.50 0.70 17.50 18.75 17.50 17.50 "},
        {"70|5|140", "2.000000 60.00 0.90 54.00 0.80 48.00 0.75 45.00 54.00 48.00 48.00 "},
        {"76|5|68.4", "0.900000 66.00 0.90 59.40 0.65 42.90 0.65 42.90 59.40 42.90 42.90 "},
        // The ratio is looked up as shown: 1.3999999 shows as 1.400000, so table 12 gives 0.70.
        {"50|4|69.999995", "1.400000 42.00 0.85 35.70 0.65 27.30 0.70 29.40 35.70 29.40 29.40 "},
        // A straight tube with the thinnest bore that shows as positive.
        {"１０|４．９９|0", "0.000000 0.02 0.75 0.02 0.65 0.01 0.65 0.01 0.02 0.01 0.01 "},
        {"0.8|0.1|1", "1.250000 0.60 0.75 0.45 0.65 0.39 0.65 0.39 0.45 0.39 0.39 "}};
    for (const auto& [inputs, written] : runs) {
        EXPECT_EQ(Calculated(inputs), std::make_pair(std::optional<CalcFailure>(), written))
            << inputs;
    }
}

TEST(Calculate, StopsAtTheFailingStepAndLeavesLaterFieldsAlone) {
    using K = FailureKind;
    using D = InvalidDimension;
    const std::string none = "_ _ _ _ _ _ _ _ _ _ _ ";
    const std::string ratio = "2.000000 _ _ _ _ _ _ _ _ _ _ ";
    const auto bore = [](const char* shown) { return std::string(shown) + " _ _ _ _ _ _ _ _ _ "; };
    // clang-format off
    const std::tuple<std::string, CalcFailure, std::string> runs[] = {
        {"||", {K::TypeMismatch, Text3}, none},
        {"|4|76", {K::TypeMismatch, Text1}, none},
        {"0|4|76", {K::DivisionByZero, Text1}, none},
        {"0|4|0", {K::Overflow, Text1}, none},
        {"38|4|1e999", {K::Overflow, Text3}, none},
        {"1e-300|4|1e300", {K::Overflow, Text1}, none},
        {"38|x|76", {K::TypeMismatch, Text2}, ratio},
        {"38|1e308|76", {K::Overflow, Text2}, ratio},
        {"1.7e308|-0.8e308|0", {K::Overflow, Text2}, "0.000000 _ _ _ _ _ _ _ _ _ _ "},
        {"-38|4|-76", {K::InvalidDimensions, Text1, D::NegativeOuterDiameter}, bore("2.000000 -46.00")},
        {"38|0|76", {K::InvalidDimensions, Text2, D::NonPositiveWallThickness}, bore("2.000000 38.00")},
        {"38|4|-76", {K::InvalidDimensions, Text3, D::NegativeBendRadius}, bore("-2.000000 30.00")},
        {"38|19|76", {K::InvalidDimensions, Text2, D::NonPositiveInnerDiameter}, bore("2.000000 0.00")},
        {"10|4.999|0", {K::InvalidDimensions, Text2, D::NonPositiveInnerDiameter}, bore("0.000000 0.00")}};
    // clang-format on
    for (const auto& [inputs, failure, written] : runs) {
        EXPECT_EQ(Calculated(inputs), std::make_pair(std::optional(failure), written)) << inputs;
    }
}

}  // namespace
}  // namespace tongqiu
