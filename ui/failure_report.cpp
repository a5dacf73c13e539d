#include "failure_report.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "tongqiu/failure_message.h"

void ReportFailure(QWidget* parent, const tongqiu::CalcFailure& failure) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("无法计算"),
                    QString::fromStdString(tongqiu::FailureMessage(failure)), QMessageBox::Ok,
                    parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}
