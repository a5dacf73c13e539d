#include "tongqiu/failure_message.h"

namespace tongqiu {
namespace {

// What went wrong, in one sentence.
std::string_view Problem(const CalcFailure& failure) {
    switch (failure.kind) {
        case FailureKind::TypeMismatch:
            return "输入的不是数字。";
        case FailureKind::DivisionByZero:
            return "除数为零。";
        case FailureKind::Overflow:
            return "数值溢出：数值太大，或无法计算。";
        case FailureKind::InvalidDimensions:
            break;
    }
    switch (failure.dimension) {
        case InvalidDimension::NegativeOuterDiameter:
            return "外径不能小于 0。";
        case InvalidDimension::NonPositiveWallThickness:
            return "壁厚必须大于 0。";
        case InvalidDimension::NegativeBendRadius:
            return "弯曲半径不能小于 0。";
        case InvalidDimension::NonPositiveInnerDiameter:
            return "壁厚必须小于外径的一半，否则内径不大于 0。";
        case InvalidDimension::None:
            break;
    }
    return "尺寸无效。";
}

}  // namespace

std::string_view CaptionOf(FieldName input) {
    switch (input) {
        case FieldName::Text1:
            return "外径";
        case FieldName::Text2:
            return "壁厚";
        case FieldName::Text3:
            return "弯曲半径";
        default:
            return {};
    }
}

std::string FailureMessage(const CalcFailure& failure) {
    std::string message(Problem(failure));
    if (failure.kind == FailureKind::InvalidDimensions) {
        message += "\n请修改后再计算。";
    } else if (failure.field) {
        message.append("\n请检查“").append(CaptionOf(*failure.field)).append("”。");
    }
    return message;
}

}  // namespace tongqiu
