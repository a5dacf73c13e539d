#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tongqiu/calculate.h"

namespace tongqiu {
namespace {

using enum FieldName;

// Fields from "Text1|Text2|Text3", every other field holding "_" as if from an earlier run.
FieldSet Inputs(const std::string& inputs) {
    FieldSet fields;
    for (const FieldName name : kCalculatedFields) fields.Set(name, "_");
    std::istringstream in(inputs);
    for (const FieldName name : {Text1, Text2, Text3}) {
        std::string text;
        std::getline(in, text, '|');
        fields.Set(name, text);
    }
    return fields;
}

// The texts of the written fields, space-separated, in the order they are written.
std::string Written(const FieldSet& fields) {
    std::string texts;
    for (const FieldName name : kCalculatedFields)
        texts += (texts.empty() ? "" : " ") + fields.Get(name);
    return texts;
}

TEST(Calculate, FillsEveryFieldAsInTheWorkedRuns) {
    const std::pair<std::string, std::string> runs[] = {
        {"38|4|76", "2.000000 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00"},
        {"89|6|267", "3.000000 77.00 0.90 69.30 0.85 65.45 0.00 0.00 69.30 65.45 65.45"},
        {"60|5|150", "2.500000 50.00 0.85 42.50 0.80 40.00 0.85 42.50 42.50 42.50 42.50"},
        {"32|3.5|48", "1.500000 25.00 0.75 18.75 0.70 17.50 0.70 17.50 18.75 17.50 17.50"},
        {"70|5|140", "2.000000 60.00 0.90 54.00 0.80 48.00 0.75 45.00 54.00 48.00 48.00"},
        {"76|5|68.4", "0.900000 66.00 0.90 59.40 0.65 42.90 0.65 42.90 59.40 42.90 42.90"},
        // The ratio is looked up as shown: 1.3999999 shows as 1.400000, so table 12 gives 0.70.
        {"50|4|69.999995", "1.400000 42.00 0.85 35.70 0.65 27.30 0.70 29.40 35.70 29.40 29.40"},
        // A straight tube with the thinnest bore that shows as positive.
        {"１０|４．９９|0", "0.000000 0.02 0.75 0.02 0.65 0.01 0.65 0.01 0.02 0.01 0.01"}};
    for (const auto& [inputs, written] : runs) {
        FieldSet fields = Inputs(inputs);
        ASSERT_EQ(Calculate(fields), std::nullopt) << inputs;
        EXPECT_EQ(Written(fields), written) << inputs;
        const FieldSet first = fields;
        ASSERT_EQ(Calculate(fields), std::nullopt);
        EXPECT_EQ(fields, first) << inputs << ": a second run changed a field";
    }
}

struct FailingRun {
    std::string inputs;
    CalcFailure failure;
    std::string written;  // the texts of the written fields afterwards
};

TEST(Calculate, StopsAtTheFailingStepAndLeavesLaterFieldsAlone) {
    using K = FailureKind;
    using D = InvalidDimension;
    // clang-format off
    const FailingRun runs[] = {
        {"||", {K::TypeMismatch, Text3}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"38|4|abc", {K::TypeMismatch, Text3}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"|4|76", {K::TypeMismatch, Text1}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"0|4|76", {K::DivisionByZero, Text1}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"0|4|0", {K::Overflow, Text1}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"38|4|1e999", {K::Overflow, Text3}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"1e-300|4|1e300", {K::Overflow, Text1}, "_ _ _ _ _ _ _ _ _ _ _"},
        {"38|x|76", {K::TypeMismatch, Text2}, "2.000000 _ _ _ _ _ _ _ _ _ _"},
        {"38|1e308|76", {K::Overflow, Text2}, "2.000000 _ _ _ _ _ _ _ _ _ _"},
        {"1.7e308|-0.8e308|0", {K::Overflow, Text2}, "0.000000 _ _ _ _ _ _ _ _ _ _"},
        {"-38|4|-76", {K::InvalidDimensions, Text1, D::NegativeOuterDiameter}, "2.000000 -46.00 _ _ _ _ _ _ _ _ _"},
        {"38|0|76", {K::InvalidDimensions, Text2, D::NonPositiveWallThickness}, "2.000000 38.00 _ _ _ _ _ _ _ _ _"},
        {"38|-1|76", {K::InvalidDimensions, Text2, D::NonPositiveWallThickness}, "2.000000 40.00 _ _ _ _ _ _ _ _ _"},
        {"38|4|-76", {K::InvalidDimensions, Text3, D::NegativeBendRadius}, "-2.000000 30.00 _ _ _ _ _ _ _ _ _"},
        {"38|19|76", {K::InvalidDimensions, Text2, D::NonPositiveInnerDiameter}, "2.000000 0.00 _ _ _ _ _ _ _ _ _"},
        {"10|4.999|0", {K::InvalidDimensions, Text2, D::NonPositiveInnerDiameter}, "0.000000 0.00 _ _ _ _ _ _ _ _ _"}};
    // clang-format on
    for (const auto& [inputs, failure, written] : runs) {
        FieldSet fields = Inputs(inputs);
        EXPECT_EQ(Calculate(fields), failure) << inputs;
        EXPECT_EQ(Written(fields), written) << inputs;
    }
}

}  // namespace
}  // namespace tongqiu
