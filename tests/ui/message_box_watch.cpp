#include "message_box_watch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

QList<SeenBox> WatchMessageBoxes(const std::function<void()>& action,
                                 const std::function<void(QMessageBox*)>& answer) {
    QList<SeenBox> seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
            return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
        });
        SeenBox shown{box->windowTitle(), box->text(), {}, {}, box->icon()};
        for (const QAbstractButton* button : buttons) shown.buttons << button->text();
        if (box->defaultButton() != nullptr) shown.defaultButton = box->defaultButton()->text();
        seen << shown;
        answer(box);
    });
    poll.start();
    action();
    return seen;
}

void AnswerByEnter(QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }

void AnswerNo(QMessageBox* box) { box->button(QMessageBox::No)->click(); }
