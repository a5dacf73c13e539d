#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

// What a modal message box showed.
struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;  // left to right
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs `action` and answers every modal message box that opens meanwhile with `answer`. A box
// that should not have opened is answered too, so a test never hangs; it shows in the result.
QList<SeenBox> WatchMessageBoxes(const std::function<void()>& action,
                                 const std::function<void(QMessageBox*)>& answer);

void AnswerByEnter(QMessageBox* box);
void AnswerNo(QMessageBox* box);
