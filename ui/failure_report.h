#pragma once

#include "tongqiu/calc_failure.h"

class QWidget;

// Shows the failure in a modal message box over `parent` and waits until the user closes it.
void ReportFailure(QWidget* parent, const tongqiu::CalcFailure& failure);
