#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "tongqiu/calculate.h"

namespace tongqiu {
namespace {

using enum FieldName;

FieldSet Inputs(const std::string& outer, const std::string& wall, const std::string& bend) {
    FieldSet fields;
    fields.Set(Text1, outer);
    fields.Set(Text2, wall);
    fields.Set(Text3, bend);
    return fields;
}

struct WorkedRun {
    std::array<std::string, 3> inputs;  // Text1, Text2, Text3
    std::map<FieldName, std::string> results;
};

TEST(Calculate, FillsEveryFieldAsInTheWorkedRuns) {
    const WorkedRun runs[] = {
        {{"38", "4", "76"},
         {{Text7, "2.000000"},
          {Text11, "30.00"},
          {Text8, "0.80"},
          {Text13, "24.00"},
          {Text9, "0.80"},
          {Text14, "24.00"},
          {Text10, "0.75"},
          {Text15, "22.50"},
          {Text4, "24.00"},
          {Text5, "24.00"},
          {Text6, "24.00"}}},
        {{"89", "6", "267"},
         {{Text7, "3.000000"},
          {Text11, "77.00"},
          {Text8, "0.90"},
          {Text13, "69.30"},
          {Text9, "0.85"},
          {Text14, "65.45"},
          {Text10, "0.00"},
          {Text15, "0.00"},
          {Text4, "69.30"},
          {Text5, "65.45"},
          {Text6, "65.45"}}},
        {{"60", "5", "150"},
         {{Text7, "2.500000"},
          {Text11, "50.00"},
          {Text8, "0.85"},
          {Text13, "42.50"},
          {Text9, "0.80"},
          {Text14, "40.00"},
          {Text10, "0.85"},
          {Text15, "42.50"},
          {Text4, "42.50"},
          {Text5, "42.50"},
          {Text6, "42.50"}}},
        {{"32", "3.5", "48"},
         {{Text7, "1.500000"},
          {Text11, "25.00"},
          {Text8, "0.75"},
          {Text13, "18.75"},
          {Text9, "0.70"},
          {Text14, "17.50"},
          {Text10, "0.70"},
          {Text15, "17.50"},
          {Text4, "18.75"},
          {Text5, "17.50"},
          {Text6, "17.50"}}},
        {{"70", "5", "140"},
         {{Text7, "2.000000"},
          {Text11, "60.00"},
          {Text8, "0.90"},
          {Text13, "54.00"},
          {Text9, "0.80"},
          {Text14, "48.00"},
          {Text10, "0.75"},
          {Text15, "45.00"},
          {Text4, "54.00"},
          {Text5, "48.00"},
          {Text6, "48.00"}}},
        {{"76", "5", "68.4"},
         {{Text7, "0.900000"},
          {Text11, "66.00"},
          {Text8, "0.90"},
          {Text13, "59.40"},
          {Text9, "0.65"},
          {Text14, "42.90"},
          {Text10, "0.65"},
          {Text15, "42.90"},
          {Text4, "59.40"},
          {Text5, "42.90"},
          {Text6, "42.90"}}},
        // The ratio is looked up as shown: 1.3999999 shows as 1.400000 and takes 0.70 in table 12.
        {{"50", "4", "69.999995"},
         {{Text7, "1.400000"},
          {Text11, "42.00"},
          {Text8, "0.85"},
          {Text13, "35.70"},
          {Text9, "0.65"},
          {Text14, "27.30"},
          {Text10, "0.70"},
          {Text15, "29.40"},
          {Text4, "35.70"},
          {Text5, "29.40"},
          {Text6, "29.40"}}},
        // A straight tube with the thinnest bore that still shows as positive.
        {{"１０", "４．９９", "0"},
         {{Text7, "0.000000"},
          {Text11, "0.02"},
          {Text8, "0.75"},
          {Text13, "0.02"},
          {Text9, "0.65"},
          {Text14, "0.01"},
          {Text10, "0.65"},
          {Text15, "0.01"},
          {Text4, "0.02"},
          {Text5, "0.01"},
          {Text6, "0.01"}}},
    };
    for (const auto& [inputs, results] : runs) {
        FieldSet fields = Inputs(inputs[0], inputs[1], inputs[2]);
        ASSERT_EQ(Calculate(fields), std::nullopt) << inputs[0];
        for (const auto& [name, text] : results) {
            EXPECT_EQ(fields.Get(name), text) << inputs[0] << " " << NameOf(name);
        }
        const FieldSet first = fields;
        ASSERT_EQ(Calculate(fields), std::nullopt);
        EXPECT_EQ(fields, first) << "a second run changed a field";
    }
}

struct FailingRun {
    std::string what;
    std::array<std::string, 3> inputs;
    CalcFailure failure;
    std::map<FieldName, std::string> written;
};

TEST(Calculate, StopsAtTheFailingStepAndLeavesLaterFieldsAlone) {
    using Kind = FailureKind;
    using Bad = InvalidDimension;
    const FailingRun runs[] = {
        {"all empty", {"", "", ""}, {Kind::TypeMismatch, Text3}, {}},
        {"bend radius no number", {"38", "4", "abc"}, {Kind::TypeMismatch, Text3}, {}},
        {"outer diameter empty", {"", "4", "76"}, {Kind::TypeMismatch, Text1}, {}},
        {"outer diameter 0", {"0", "4", "76"}, {Kind::DivisionByZero, Text1}, {}},
        {"outer diameter and bend 0", {"0", "4", "0"}, {Kind::Overflow, Text1}, {}},
        {"bend radius too large", {"38", "4", "1e999"}, {Kind::Overflow, Text3}, {}},
        {"ratio too large", {"1e-300", "4", "1e300"}, {Kind::Overflow, Text1}, {}},
        {"wall no number", {"38", "x", "76"}, {Kind::TypeMismatch, Text2}, {{Text7, "2.000000"}}},
        {"twice the wall too large",
         {"38", "1e308", "76"},
         {Kind::Overflow, Text2},
         {{Text7, "2.000000"}}},
        {"bore too large",
         {"1.7e308", "-0.8e308", "0"},
         {Kind::Overflow, Text2},
         {{Text7, "0.000000"}}},
        {"negative outer diameter",
         {"-38", "4", "-76"},
         {Kind::InvalidDimensions, Text1, Bad::NegativeOuterDiameter},
         {{Text7, "2.000000"}, {Text11, "-46.00"}}},
        {"wall 0",
         {"38", "0", "76"},
         {Kind::InvalidDimensions, Text2, Bad::NonPositiveWallThickness},
         {{Text7, "2.000000"}, {Text11, "38.00"}}},
        {"negative wall",
         {"38", "-1", "76"},
         {Kind::InvalidDimensions, Text2, Bad::NonPositiveWallThickness},
         {{Text7, "2.000000"}, {Text11, "40.00"}}},
        {"negative bend radius",
         {"38", "4", "-76"},
         {Kind::InvalidDimensions, Text3, Bad::NegativeBendRadius},
         {{Text7, "-2.000000"}, {Text11, "30.00"}}},
        {"wall half the outer diameter",
         {"38", "19", "76"},
         {Kind::InvalidDimensions, Text2, Bad::NonPositiveInnerDiameter},
         {{Text7, "2.000000"}, {Text11, "0.00"}}},
        {"bore shows as 0.00",
         {"10", "4.999", "0"},
         {Kind::InvalidDimensions, Text2, Bad::NonPositiveInnerDiameter},
         {{Text7, "0.000000"}, {Text11, "0.00"}}},
    };
    for (const auto& [what, inputs, failure, written] : runs) {
        FieldSet fields = Inputs(inputs[0], inputs[1], inputs[2]);
        for (const FieldName name : kAllFields) {
            if (name != Text1 && name != Text2 && name != Text3) fields.Set(name, "earlier");
        }
        EXPECT_EQ(Calculate(fields), failure) << what;
        for (const FieldName name : kAllFields) {
            const auto found = written.find(name);
            const std::string expected = found != written.end() ? found->second
                                         : name == Text1        ? inputs[0]
                                         : name == Text2        ? inputs[1]
                                         : name == Text3        ? inputs[2]
                                                                : "earlier";
            EXPECT_EQ(fields.Get(name), expected) << what << ": " << NameOf(name);
        }
    }
}

}  // namespace
}  // namespace tongqiu
