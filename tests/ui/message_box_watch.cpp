#include "message_box_watch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

QList<Seen> Watch(const std::function<void()>& action,
                  const std::function<void(QMessageBox*)>& answer) {
    QList<Seen> seen;
    QTimer poll;  // fires only while a modal box runs its own event loop
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        Seen shown{box->windowTitle(), box->text()};
        for (QAbstractButton* button : buttons) {
            shown << button->text() +
                         (button == box->defaultButton() ? QStringLiteral("*") : QString());
        }
        if (box->icon() != QMessageBox::NoIcon) shown << QStringLiteral("icon");
        seen << shown;
        answer(box);
    });
    poll.start(0);
    action();
    return seen;
}

void AnswerByEnter(QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }

void AnswerNo(QMessageBox* box) { box->button(QMessageBox::No)->click(); }
