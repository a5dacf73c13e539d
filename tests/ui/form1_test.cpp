#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTest>

#include <algorithm>
#include <memory>

#include "application_style.h"
#include "failure_report.h"
#include "form1.h"
#include "message_box_watch.h"
#include "tongqiu/calculate.h"

namespace {

// The result fields, in the order of the expected texts below.
const QStringList kResults = [] {
    QStringList names;
    for (const auto name : tongqiu::kCalculatedFields) {
        names << QString::fromLatin1(tongqiu::NameOf(name));
    }
    return names;
}();
const QString kRun1 =
    QStringLiteral("2.000000 30.00 0.80 24.00 0.80 24.00 0.75 22.50 24.00 24.00 24.00");

const QString kNone(kResults.size() - 1, u' ');  // every result field empty

// Whether the font itself, not a fallback font, has the character.
bool HasGlyph(const QFont& font, QChar c) { return QRawFont::fromFont(font).supportsCharacter(c); }

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> m_form;

    [[nodiscard]] QLineEdit* Box(const QString& name) const {
        return m_form->findChild<QLineEdit*>(name);
    }
    [[nodiscard]] QString Results() const {
        QStringList texts;
        for (const QString& name : kResults) texts << Box(name)->text();
        return texts.join(u' ');
    }
    // Types "Text1|Text2|Text3" as a Chinese input method delivers it.
    void Type(const QString& inputs) {
        const QStringList texts = inputs.split(u'|');
        for (int i = 0; i < 3; ++i) {
            QLineEdit* box = Box(QStringLiteral("Text%1").arg(i + 1));
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

    // Each row types one or more runs of inputs, pressing "计算" after each; the last one may fail.
    void calculatesAndReportsFailures_data() {
        QTest::addColumn<QString>("runs");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("report");  // words the failure report must hold
        QTest::addColumn<QString>("field");   // where the focus goes after the report
        const auto row = [](const char* runs, const QString& results, const char* report = "",
                            const char* field = "") {
            QTest::newRow(runs) << QString::fromUtf8(runs) << results << QString::fromUtf8(report)
                                << QString::fromLatin1(field);
        };
        row("38|4|76", kRun1);
        row("89|6|267",
            QStringLiteral("3.000000 77.00 0.90 69.30 0.85 65.45 0.00 0.00 69.30 65.45 65.45"));
        row("７６|５|６８。４",
            QStringLiteral("0.900000 66.00 0.90 59.40 0.65 42.90 0.65 42.90 59.40 42.90 42.90"));
        row("||", kNone, "不是数字 “弯曲半径”", "Text3");
        row("38|4|76 38|4|abc", kRun1, "不是数字 “弯曲半径”", "Text3");
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
            QVERIFY(Press("Command1").isEmpty());
            QCOMPARE(Results(), results);
            return;
        }
        QCOMPARE(seen.size(), 1);
        for (const QString& word : report.split(u' '))
            QVERIFY2(seen[0][1].contains(word), qPrintable(seen[0][1]));
        QTRY_COMPARE(QApplication::focusWidget(), Box(field));
        QCOMPARE(Box(field)->selectedText(), Box(field)->text());
    }

    void tabOrderFollowsTheFields() {
        const QString order = QStringLiteral(
            "Text1 Text2 Text3 Text4 Text5 Text6 Command1 Command2 Text7 Text8 Text9 Text10 Text11 "
            "Text13 Text14 Text15 Text1");
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 16; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.join(u' '), order);
    }

    void enterAndEscInAFieldPressNoButton() {
        Type(QStringLiteral("38|4|76"));
        const auto pressKeys = [&] {
            for (QLineEdit* box : m_form->findChildren<QLineEdit*>()) {
                for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                    QTest::keyClick(box, key);
                }
            }
        };
        QVERIFY(Watch(pressKeys, AnswerNo).isEmpty());
        QCOMPARE(Results(), kNone);
        QVERIFY(m_form->isVisible());
    }

    void resultFieldsRefuseTypingButCanBeCopied() {
        Type(QStringLiteral("38|4|76"));
        Press("Command1");
        QLineEdit* ratio = Box(QStringLiteral("Text7"));
        QTest::keyClicks(ratio, QStringLiteral("9"));
        QTest::keyClick(ratio, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ratio, Qt::Key_Delete);
        QTest::keyClick(ratio, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(ratio->text(), QStringLiteral("2.000000"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2.000000"));
    }

    void exitAsksAndOnlyYesCloses() {
        Type(QStringLiteral("38|4|76"));
        Press("Command1");
        const Seen question = {QStringLiteral("请问"), QStringLiteral("确定要退出系统吗？"),
                               QStringLiteral("是*"), QStringLiteral("否")};
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(Press("Command2", AnswerNo), QList<Seen>{question});
            QVERIFY(m_form->isVisible());
            QCOMPARE(Results(), kRun1);
        }
        QCOMPARE(Press("Command2", AnswerByEnter), QList<Seen>{question});
        QVERIFY(!m_form->isVisible());
    }

    void closeControlClosesWithoutAQuestion() {
        QVERIFY(Watch([&] { QVERIFY(m_form->close()); }, AnswerNo).isEmpty());
        QVERIFY(!m_form->isVisible());
    }

    // A caption shows whole when the font in use has its glyphs and the text fits in the part of
    // its box that no text box covers.
    void everyCaptionFitsItsBox() {
        const auto fits = [](const QWidget* widget, const QString& caption, int width) {
            const QFontMetrics metrics(widget->font());
            const bool glyphs = std::all_of(caption.begin(), caption.end(),
                                            [&](QChar c) { return HasGlyph(widget->font(), c); });
            return glyphs && metrics.horizontalAdvance(caption) <= width &&
                   metrics.height() <= widget->height();
        };
        for (const QLabel* label : m_form->findChildren<QLabel*>()) {
            int width = label->width();
            for (const QLineEdit* box : m_form->findChildren<QLineEdit*>()) {
                if (box->geometry().intersects(label->geometry())) width = box->x() - label->x();
            }
            QVERIFY2(fits(label, label->text().trimmed(), width), qPrintable(label->objectName()));
        }
        for (const QPushButton* button : m_form->findChildren<QPushButton*>()) {
            QVERIFY(fits(button, button->text(), button->width() - 8));
        }
        const auto* frame = m_form->findChild<QGroupBox*>(QStringLiteral("Frame1"));
        QVERIFY(fits(frame, frame->title(), frame->width()));
    }

    // The program's own font holds every character of every text it shows.
    void everyTextHasItsGlyphs() {
        QStringList texts =
            QStringLiteral("请问 确定要退出系统吗？ 是 否 确定 无法计算").split(u' ');
        using tongqiu::FailureKind;
        for (const auto kind :
             {FailureKind::TypeMismatch, FailureKind::DivisionByZero, FailureKind::Overflow}) {
            for (const auto field : {tongqiu::FieldName::Text1, tongqiu::FieldName::Text2,
                                     tongqiu::FieldName::Text3}) {
                texts << FailureMessage({kind, field});
            }
        }
        for (int dimension = 1; dimension <= 4; ++dimension) {
            texts << FailureMessage({FailureKind::InvalidDimensions, tongqiu::FieldName::Text2,
                                     tongqiu::InvalidDimension(dimension)});
        }
        for (const QString& text : texts) {
            for (const QChar c : text) {
                QVERIFY2(c.isSpace() || HasGlyph(QApplication::font(), c), qPrintable(text));
            }
        }
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
