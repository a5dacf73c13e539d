#pragma once

#include <array>
#include <string_view>

#include "tongqiu/field_set.h"
#include "tongqiu/number_text.h"

namespace tongqiu {

// A result as a table shows it: the field whose text fills the column, its heading, and the
// pattern that the calculation writes the field in.
struct ResultColumn {
    FieldName field;
    std::string_view heading;
    Pattern pattern;
};

// The results in the order a table gives them, after a row's own cells; 说明 follows them.
inline constexpr std::array<ResultColumn, 11> kResultColumns{{
    {FieldName::Text11, "内径", Pattern::TwoPlaces},
    {FieldName::Text7, "R/Dw", Pattern::SixPlaces},
    {FieldName::Text8, "表10", Pattern::TwoPlaces},
    {FieldName::Text13, "表10通球", Pattern::TwoPlaces},
    {FieldName::Text9, "表11", Pattern::TwoPlaces},
    {FieldName::Text14, "表11通球", Pattern::TwoPlaces},
    {FieldName::Text10, "表12", Pattern::TwoPlaces},
    {FieldName::Text15, "表12通球", Pattern::TwoPlaces},
    {FieldName::Text4, "有拼接焊缝无弯头", Pattern::TwoPlaces},
    {FieldName::Text5, "有弯头无拼接焊缝", Pattern::TwoPlaces},
    {FieldName::Text6, "有弯头有拼接焊缝", Pattern::TwoPlaces},
}};

// The column after them: why a row has no results.
inline constexpr std::string_view kExplanationHeading = "说明";

// Where a table names each tube's kind, the ball for it, in a column before 说明, written as the
// three balls are.
inline constexpr std::string_view kChosenBallHeading = "选用通球";

}  // namespace tongqiu
