#include "failure_report.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

using tongqiu::FailureKind;
using tongqiu::FieldName;
using tongqiu::InvalidDimension;

QString Caption(FieldName field) {
    switch (field) {
        case FieldName::Text1:
            return QStringLiteral("外径");
        case FieldName::Text2:
            return QStringLiteral("壁厚");
        case FieldName::Text3:
            return QStringLiteral("弯曲半径");
        default:
            return {};
    }
}

// What went wrong, in one sentence.
QString Problem(const tongqiu::CalcFailure& failure) {
    switch (failure.kind) {
        case FailureKind::TypeMismatch:
            return QStringLiteral("输入的不是数字。");
        case FailureKind::DivisionByZero:
            return QStringLiteral("除数为零。");
        case FailureKind::Overflow:
            return QStringLiteral("数值溢出：数值太大，或无法计算。");
        case FailureKind::InvalidDimensions:
            break;
    }
    switch (failure.dimension) {
        case InvalidDimension::NegativeOuterDiameter:
            return QStringLiteral("外径不能小于 0。");
        case InvalidDimension::NonPositiveWallThickness:
            return QStringLiteral("壁厚必须大于 0。");
        case InvalidDimension::NegativeBendRadius:
            return QStringLiteral("弯曲半径不能小于 0。");
        case InvalidDimension::NonPositiveInnerDiameter:
            return QStringLiteral("壁厚必须小于外径的一半，否则内径不大于 0。");
        case InvalidDimension::None:
            break;
    }
    return QStringLiteral("尺寸无效。");
}

}  // namespace

QString FailureMessage(const tongqiu::CalcFailure& failure) {
    QString message = Problem(failure);
    if (failure.kind == FailureKind::InvalidDimensions) {
        message += QStringLiteral("\n请修改后再计算。");
    } else if (failure.field) {
        message += QStringLiteral("\n请检查“%1”。").arg(Caption(*failure.field));
    }
    return message;
}

void ReportFailure(QWidget* parent, const tongqiu::CalcFailure& failure) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("无法计算"), FailureMessage(failure),
                    QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}
