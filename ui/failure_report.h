#pragma once

#include <QString>

#include "tongqiu/calc_failure.h"

class QWidget;

// What went wrong, in plain words, naming the field to correct by its caption.
QString FailureMessage(const tongqiu::CalcFailure& failure);

// Shows the failure in a modal message box over `parent` and waits until the user closes it.
void ReportFailure(QWidget* parent, const tongqiu::CalcFailure& failure);
