#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <random>

#include "application_style.h"
#include "form1.h"
#include "message_box_watch.h"
#include "tongqiu/calculate.h"

using tongqiu::FieldName;

// Presses "计算" thousands of times on random and hostile texts, with "退出" answered No now and
// then. Each press must leave the boxes exactly as the calculation leaves the same fourteen texts.
class Form1RandomTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ApplyApplicationStyle(); }

    void pressesShowWhatTheCalculationGives() {
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* calculate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
        auto* exit = form.findChild<QPushButton*>(QStringLiteral("Command2"));

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
            for (const FieldName input : {FieldName::Text1, FieldName::Text2, FieldName::Text3}) {
                if (pick(3) == 0) continue;  // keep what the box holds
                QGuiApplication::clipboard()->setText(hostileText());
                form.Box(input)->selectAll();
                form.Box(input)->paste();
            }
            tongqiu::FieldSet expected;
            for (const FieldName name : tongqiu::kAllFields) {
                expected.Set(name, form.Box(name)->text().toStdString());
            }
            const bool fails = tongqiu::Calculate(expected).has_value();

            const QList<Seen> seen = Watch([&] { calculate->click(); }, AnswerByEnter);
            QCOMPARE(seen.size(), fails ? 1 : 0);
            for (const FieldName name : tongqiu::kAllFields) {
                QCOMPARE(form.Box(name)->text().toStdString(), expected.Get(name));
            }
            if (press % 100 == 0) {
                QCOMPARE(Watch([&] { exit->click(); }, AnswerNo).size(), 1);
                QVERIFY(form.isVisible());
            }
        }
    }
};

QTEST_MAIN(Form1RandomTest)
#include "form1_random_test.moc"
