#pragma once

#include <QList>
#include <QMessageBox>
#include <QStringList>

#include <functional>

// A modal message box as it was shown: title, text, then its buttons left to right, the default
// button marked with a "*", and "icon" if it had one.
using Seen = QStringList;

// Runs `action` and answers every modal message box that opens meanwhile, so a test never hangs
// on a box that should not have opened; the boxes show in the result.
QList<Seen> Watch(const std::function<void()>& action,
                  const std::function<void(QMessageBox*)>& answer);

void AnswerByEnter(QMessageBox* box);
void AnswerNo(QMessageBox* box);
