#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

#include "application_style.h"
#include "form1.h"
#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"

using tongqiu::FieldName;

namespace {

const QString kRun1 =
    QStringLiteral("2.000000 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00");

// A modal message box as it was shown: title, text, then its buttons left to right, the default
// button marked with a "*", and "icon" if it had one.
using Seen = QStringList;

// Runs `action` and answers every modal message box that opens meanwhile, so a test never hangs
// on a box that should not have opened; the boxes show in the result.
QList<Seen> Watch(const std::function<void()>& action, void (*answer)(QMessageBox*)) {
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

// A text shows whole when the widget's own font, not a fallback font, has every character and
// the text fits in `width`.
bool ShowsWhole(const QWidget* widget, const QString& text, int width) {
    const QRawFont font = QRawFont::fromFont(widget->font());
    for (const QChar c : text) {
        if (!c.isSpace() && !font.supportsCharacter(c)) return false;
    }
    const QFontMetrics metrics(widget->font());
    return metrics.horizontalAdvance(text) <= width && metrics.height() <= widget->height();
}

// Keeps the addresses the program asks the system to open, instead of opening them.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE void Open(const QUrl& url) { asked << url; }
    QList<QUrl> asked;
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> m_form;

    [[nodiscard]] QString Results() const {
        QStringList texts;
        for (const auto name : tongqiu::kCalculatedFields) texts << m_form->Box(name)->text();
        return texts.join(u' ');
    }
    // Types "Text1|Text2|Text3" as a Chinese input method delivers it.
    void Type(const QString& inputs) {
        const QStringList texts = inputs.split(u'|');
        for (int i = 0; i < 3; ++i) {
            QLineEdit* box = m_form->Box(tongqiu::kInputFields[static_cast<std::size_t>(i)]);
            box->clear();
            QInputMethodEvent typed;
            typed.setCommitString(texts[i]);
            QApplication::sendEvent(box, &typed);
        }
    }
    QList<Seen> Press(const char* button, void (*answer)(QMessageBox*) = AnswerByEnter) {
        auto* pushButton = m_form->findChild<QPushButton*>(QString::fromLatin1(button));
        return Watch([&] { QTest::mouseClick(pushButton, Qt::LeftButton); }, answer);
    }

private slots:
    void initTestCase() { ApplyApplicationStyle(); }

    void init() {
        m_form = std::make_unique<Form1>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void cleanup() { m_form.reset(); }

    // Each row types runs of inputs, pressing "计算" after each; the last one may fail, and then
    // the report holds the given words and the focus goes to the field to correct.
    void calculatesAndReportsFailures_data() {
        QTest::addColumn<QString>("runs");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("field");
        const auto row = [](const char* runs, const QString& results, const char* report = "",
                            const char* field = "") {
            QTest::newRow(runs) << QString::fromUtf8(runs) << results << QString::fromUtf8(report)
                                << QString::fromLatin1(field);
        };
        row("38|4|76", kRun1);
        row("７６|５|６８。４",
            QStringLiteral("0.900000 66.00 0.90 59.40 0.65 42.90 0.65 42.90 59.40 42.90 42.90"));
        row("||", QString(10, u' '), "不是数字 “弯曲半径”", "Text3");
        row("38|4|76 38|x|70",
            QStringLiteral("1.842105 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00"),
            "不是数字 “壁厚”", "Text2");
        row("38|4|76 0|4|76", kRun1, "除数为零 “外径”", "Text1");
        row("38|4|76 0|4|0", kRun1, "溢出 “外径”", "Text1");
        row("38|4|76 38|19|76",
            QStringLiteral("2.000000 0.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00"),
            "壁厚必须小于外径的一半", "Text2");
    }

    void calculatesAndReportsFailures() {
        QFETCH(QString, runs);
        QFETCH(QString, results);
        QFETCH(QString, report);
        QFETCH(QString, field);
        QList<Seen> seen;
        for (const QString& inputs : runs.split(u' ')) {
            Type(inputs);
            seen = Press("Command1");
        }
        QCOMPARE(Results(), results);
        if (report.isEmpty()) {
            QVERIFY(seen.isEmpty());
            return;
        }
        QCOMPARE(seen.size(), 1);
        for (const QString& word : report.split(u' '))
            QVERIFY2(seen[0][1].contains(word), qPrintable(seen[0][1]));
        auto* box = m_form->findChild<QLineEdit*>(field);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->selectedText(), box->text());
    }

    void tabOrderFollowsTheFields() {
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 16; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.join(u' '), QStringLiteral("Text1 Text2 Text3 Text4 Text5 Text6 Command1 "
                                                    "Command2 Text7 Text8 Text9 Text10 Text11 "
                                                    "Text13 Text14 Text15 Text1"));
    }

    // A result field refuses typing but can be copied. "退出" asks every time and closes only on
    // Yes, which Enter gives; the close control asks not.
    void resultsStayAndOnlyYesCloses() {
        Type(QStringLiteral("38|4|76"));
        Press("Command1");
        QLineEdit* ratio = m_form->Box(FieldName::Text7);
        QTest::keyClicks(ratio, QStringLiteral("9"));
        QTest::keyClick(ratio, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ratio, Qt::Key_Delete);
        QTest::keyClick(ratio, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2.000000"));
        const Seen question = {QStringLiteral("请问"), QStringLiteral("确定要退出系统吗？"),
                               QStringLiteral("是*"), QStringLiteral("否")};
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(Press("Command2", AnswerNo), QList<Seen>{question});
            QVERIFY(m_form->isVisible());
            QCOMPARE(Results(), kRun1);
        }
        QCOMPARE(Press("Command2", AnswerByEnter), QList<Seen>{question});
        QVERIFY(!m_form->isVisible());
        m_form->show();
        QVERIFY(Watch([&] { QVERIFY(m_form->close()); }, AnswerNo).isEmpty());
    }

    // Every caption fits the part of its box that no text box covers, in the program's own font,
    // which also holds every character of the messages.
    void everyTextShowsWhole() {
        for (const QLabel* label : m_form->findChildren<QLabel*>()) {
            int width = label->width();
            for (const QLineEdit* box : m_form->findChildren<QLineEdit*>()) {
                if (box->geometry().intersects(label->geometry())) width = box->x() - label->x();
            }
            QVERIFY2(ShowsWhole(label, label->text().trimmed(), width),
                     qPrintable(label->objectName()));
        }
        for (const QPushButton* button : m_form->findChildren<QPushButton*>()) {
            QVERIFY(ShowsWhole(button, button->text(), button->width() - 8));
        }
        const auto* frame = m_form->findChild<QGroupBox*>(QStringLiteral("Frame1"));
        QVERIFY(ShowsWhole(frame, frame->title(), frame->width()));
        QString messages = QStringLiteral("请问确定要退出系统吗？是否确定无法计算");
        for (int kind = 0; kind < 4; ++kind) {
            for (int dimension = 0; dimension < 5; ++dimension) {
                messages += QString::fromStdString(
                    tongqiu::FailureMessage({tongqiu::FailureKind(kind), FieldName(kind % 3),
                                             tongqiu::InvalidDimension(dimension)}));
            }
        }
        QVERIFY(ShowsWhole(m_form.get(), messages, 1 << 20));
    }

    void f1OpensTheGuideBesideTheProgram() {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
        QTest::keyClick(m_form->Box(FieldName::Text2), Qt::Key_F1);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        const QString beside = QCoreApplication::applicationDirPath() + u"/使用说明.html"_qs;
        QCOMPARE(recorder.asked, QList{QUrl::fromLocalFile(beside)});
    }

    // Presses "计算" thousands of times on random and hostile texts, with "退出" answered No now
    // and then. Each press must leave the boxes as the calculation leaves the same fourteen texts.
    void pressesShowWhatTheCalculationGives() {
        const QStringList pieces = QStringLiteral(
                                       "0 1 4 38 76 19 - + . 。 e E １ ９ ． － ＋ ｅ \u3000 \t "
                                       "abc 1e308 1e-320 9999999999 , 0x "
                                       "inf nan ¥ \u0001 \u007f \uFFFD \U0001F600")
                                       .split(u' ')
                                   << QStringLiteral(" ");
        std::mt19937 random(20261206);
        const auto pick = [&](int n) {
            return int(std::uniform_int_distribution<>(0, n - 1)(random));
        };
        const auto hostileText = [&] {
            if (pick(300) == 0) return QString(1 << 20, u'7');  // a megabyte pasted
            if (pick(50) == 0) {                                // any UTF-16, even lone halves
                QString text;
                for (int i = pick(20); i > 0; --i) text += QChar(char16_t(pick(0x10000)));
                return text;
            }
            QString text;
            for (int i = pick(6); i > 0; --i) text += pieces[pick(int(pieces.size()))];
            return text;
        };

        for (int press = 0; press < 3000; ++press) {
            for (const FieldName input : tongqiu::kInputFields) {
                if (pick(3) == 0) continue;  // keep what the box holds
                QGuiApplication::clipboard()->setText(hostileText());
                m_form->Box(input)->selectAll();
                m_form->Box(input)->paste();
            }
            tongqiu::FieldSet expected;
            for (const FieldName name : tongqiu::kAllFields) {
                expected.Set(name, m_form->Box(name)->text().toStdString());
            }
            const bool fails = tongqiu::Calculate(expected).has_value();

            QCOMPARE(Press("Command1").size(), fails ? 1 : 0);
            for (const FieldName name : tongqiu::kAllFields) {
                QCOMPARE(m_form->Box(name)->text().toStdString(), expected.Get(name));
            }
            if (press % 100 == 0) {
                QCOMPARE(Press("Command2", AnswerNo).size(), 1);
                QVERIFY(m_form->isVisible());
            }
        }
    }
};

int main(int argc, char* argv[]) {
    SelectFontEngine();
    QApplication app(argc, argv);
    Form1Test test;
    return QTest::qExec(&test, argc, argv);
}
#include "form1_test.moc"
