#include <QAccessible>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "application_style.h"
#include "form1.h"
#include "message_box_watch.h"

namespace {

const QStringList kInputs{QStringLiteral("Text1"), QStringLiteral("Text2"),
                          QStringLiteral("Text3")};

// The result fields, in the order of the expected texts in the tests' rows.
const QStringList kResults = QStringLiteral(
                                 "Text7 Text11 Text8 Text13 Text9 Text14 Text10 Text15 "
                                 "Text4 Text5 Text6")
                                 .split(u' ');

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> m_form;

    QLineEdit* Box(const QString& name) const { return m_form->findChild<QLineEdit*>(name); }
    QPushButton* Button(const char* name) const {
        return m_form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString Results() const {
        QStringList texts;
        for (const QString& name : kResults) texts << Box(name)->text();
        return texts.join(u' ');
    }
    void Type(const QStringList& inputs) {
        for (qsizetype i = 0; i < kInputs.size(); ++i) {
            QLineEdit* box = Box(kInputs[i]);
            box->clear();
            bool ascii = true;
            for (const QChar c : inputs[i]) ascii = ascii && c.unicode() < 0x80;
            if (ascii) {
                QTest::keyClicks(box, inputs[i]);
            } else {  // as a Chinese input method delivers it
                QInputMethodEvent typed;
                typed.setCommitString(inputs[i]);
                QApplication::sendEvent(box, &typed);
            }
        }
    }
    QList<SeenBox> Press(const char* button, void (*answer)(QMessageBox*) = AnswerByEnter) {
        return WatchMessageBoxes([&] { QTest::mouseClick(Button(button), Qt::LeftButton); },
                                 answer);
    }

private slots:
    void initTestCase() { ApplyApplicationStyle(); }

    void init() {
        m_form = std::make_unique<Form1>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void cleanup() { m_form.reset(); }

    void showsTheWorkedRuns_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("results");
        const auto row = [](const char* name, const char* inputs, const char* results) {
            QTest::newRow(name) << QString::fromUtf8(inputs).split(u' ')
                                << QString::fromUtf8(results);
        };
        row("run 1", "38 4 76",
            "2.000000 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00");
        row("run 2", "89 6 267",
            "3.000000 77.00 0.90 69.30 0.85 65.45 0.00 0.00 69.30 65.45 65.45");
        row("run 3", "60 5 150",
            "2.500000 50.00 0.85 42.50 0.80 40.00 0.85 42.50 42.50 42.50 42.50");
        row("run 4", "32 3.5 48",
            "1.500000 25.00 0.75 18.75 0.70 17.50 0.70 17.50 18.75 17.50 17.50");
        row("run 5", "70 5 140",
            "2.000000 60.00 0.90 54.00 0.80 48.00 0.75 45.00 54.00 48.00 48.00");
        row("run 6 full-width", "７６ ５ ６８。４",
            "0.900000 66.00 0.90 59.40 0.65 42.90 0.65 42.90 59.40 42.90 42.90");
    }

    void showsTheWorkedRuns() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, results);
        Type(inputs);
        QVERIFY(Press("Command1").isEmpty());
        QCOMPARE(Results(), results);
        QVERIFY(Press("Command1").isEmpty());
        QCOMPARE(Results(), results);
    }

    void reportsAFailureAndSendsTheUserToTheField_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("words");  // what the report must say
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("results");  // after a successful run of 38, 4, 76
        const QString earlier =
            QStringLiteral("2.000000 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00");
        const auto row = [](const char* name, const char* inputs, const char* words,
                            const char* field, const QString& results) {
            QTest::newRow(name) << QString::fromUtf8(inputs).split(u' ')
                                << QString::fromUtf8(words).split(u' ')
                                << QString::fromLatin1(field) << results;
        };
        row("bend radius no number", "38 4 abc", "不是数字 “弯曲半径”", "Text3", earlier);
        row("wall no number", "38 x 70", "不是数字 “壁厚”", "Text2",
            QStringLiteral("1.842105") + earlier.mid(8));
        row("outer diameter 0", "0 4 76", "除数为零 “外径”", "Text1", earlier);
        row("outer diameter and bend 0", "0 4 0", "溢出 “外径”", "Text1", earlier);
        row("wall half the outer diameter", "38 19 76", "壁厚必须小于外径的一半", "Text2",
            QStringLiteral("2.000000 0.00") + earlier.mid(14));
        row("negative bend radius", "38 4 -76", "弯曲半径不能小于 0", "Text3",
            QStringLiteral("-2.000000") + earlier.mid(8));
    }

    void reportsAFailureAndSendsTheUserToTheField() {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, words);
        QFETCH(QString, field);
        QFETCH(QString, results);
        Type(QStringLiteral("38 4 76").split(u' '));
        QVERIFY(Press("Command1").isEmpty());
        Type(inputs);

        const QList<SeenBox> seen = Press("Command1");
        QCOMPARE(seen.size(), 1);
        for (const QString& word : words)
            QVERIFY2(seen[0].text.contains(word), qPrintable(seen[0].text));
        QCOMPARE(Results(), results);
        QTRY_COMPARE(QApplication::focusWidget(), Box(field));
        QCOMPARE(Box(field)->selectedText(), Box(field)->text());
    }

    void calculatingEmptyFieldsWritesNothing() {
        const QList<SeenBox> seen = Press("Command1");
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].text.contains(QStringLiteral("不是数字")));
        QCOMPARE(Results(), QString(kResults.size() - 1, u' '));
    }

    void tabOrderFollowsTheFields() {
        const QStringList order = QStringLiteral(
                                      "Text1 Text2 Text3 Text4 Text5 Text6 Command1 Command2 Text7 "
                                      "Text8 Text9 Text10 Text11 "
                                      "Text13 Text14 Text15 Text1")
                                      .split(u' ');
        QCOMPARE(QApplication::focusWidget(), Box(QStringLiteral("Text1")));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, order);
    }

    void enterAndEscInAFieldPressNoButton() {
        Type(QStringLiteral("38 4 76").split(u' '));
        QSignalSpy calculate(Button("Command1"), &QPushButton::clicked);
        QSignalSpy exit(Button("Command2"), &QPushButton::clicked);
        const QList<SeenBox> seen = WatchMessageBoxes(
            [&] {
                for (const QString& name : kInputs + kResults) {
                    for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                        QTest::keyClick(Box(name), key);
                    }
                }
            },
            AnswerNo);
        QVERIFY(seen.isEmpty());
        QCOMPARE(calculate.count(), 0);
        QCOMPARE(exit.count(), 0);
        QVERIFY(m_form->isVisible());
    }

    void resultFieldsRefuseTypingButCanBeCopied() {
        Type(QStringLiteral("38 4 76").split(u' '));
        Press("Command1");
        QLineEdit* ratio = Box(QStringLiteral("Text7"));
        QTest::keyClicks(ratio, QStringLiteral("9"));
        QTest::keyClick(ratio, Qt::Key_Backspace);
        QTest::keyClick(ratio, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ratio, Qt::Key_Delete);
        QCOMPARE(ratio->text(), QStringLiteral("2.000000"));
        QTest::keyClick(ratio, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ratio, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2.000000"));
    }

    void exitAsksAndNoKeepsEverything() {
        Type(QStringLiteral("38 4 76").split(u' '));
        Press("Command1");
        const QString results = Results();
        for (int i = 0; i < 2; ++i) {
            const QList<SeenBox> seen = Press("Command2", AnswerNo);
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].title, QStringLiteral("请问"));
            QCOMPARE(seen[0].text, QStringLiteral("确定要退出系统吗？"));
            QCOMPARE(seen[0].buttons, QStringList({QStringLiteral("是"), QStringLiteral("否")}));
            QCOMPARE(seen[0].defaultButton, QStringLiteral("是"));
            QCOMPARE(seen[0].icon, QMessageBox::NoIcon);
            QVERIFY(m_form->isVisible());
            QCOMPARE(Results(), results);
            QCOMPARE(Box(QStringLiteral("Text1"))->text(), QStringLiteral("38"));
        }
        QCOMPARE(Press("Command2", AnswerByEnter).size(), 1);
        QVERIFY(!m_form->isVisible());
    }

    void closeControlClosesWithoutAQuestion() {
        QVERIFY(WatchMessageBoxes([&] { QVERIFY(m_form->close()); }, AnswerNo).isEmpty());
        QVERIFY(!m_form->isVisible());
    }

    // A caption shows whole when the font has its glyphs and the text fits in the part of its box
    // that no text box covers.
    void everyCaptionFitsItsBox() {
        const auto fits = [](const QWidget* widget, const QString& caption, int width, int height) {
            const QFontMetrics metrics(widget->font());
            for (const QChar c : caption) {
                if (!metrics.inFont(c)) return false;
            }
            return metrics.horizontalAdvance(caption) <= width && metrics.height() <= height;
        };
        const QList<QLineEdit*> boxes = m_form->findChildren<QLineEdit*>();
        for (const QLabel* label : m_form->findChildren<QLabel*>()) {
            int width = label->width();
            for (const QLineEdit* box : boxes) {
                if (box->geometry().intersects(label->geometry())) width = box->x() - label->x();
            }
            QVERIFY2(fits(label, label->text().trimmed(), width, label->height()),
                     qPrintable(label->objectName()));
        }
        for (const QPushButton* button : m_form->findChildren<QPushButton*>()) {
            QVERIFY(fits(button, button->text(), button->width() - 8, button->height() - 8));
        }
        const auto* frame = m_form->findChild<QGroupBox*>(QStringLiteral("Frame1"));
        QVERIFY(fits(frame, frame->title(), frame->width(), frame->height()));
    }

    void boxesAreNamedForAssistiveTechnology() {
        for (const QLabel* label : m_form->findChildren<QLabel*>()) {
            QWidget* box = label->buddy();
            QVERIFY2(box != nullptr, qPrintable(label->objectName()));
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
            const QString name = accessible->text(QAccessible::Name);
            // "通球" labels the ball of the table named on its row: "表10通球" and so on.
            QVERIFY2(name.endsWith(label->text().trimmed()) && !name.isEmpty(),
                     qPrintable(name + u' ' + label->text()));
        }
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
