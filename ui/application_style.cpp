#include "application_style.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontDatabase>
#include <QProxyStyle>

namespace {

// Some Linux desktops put No before Yes; the exit question must read Yes first everywhere.
class ButtonOrderStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonLayout) return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

// NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks): QApplication owns the style it is given.
void ApplyApplicationStyle() {
    // Noto Sans CJK SC, cut down to the characters the program shows and built into the program,
    // so that every platform shows the same font: loading the full 20 MB collection cost start-up
    // time and 4 MB of memory, and Windows installs differ in their Chinese fonts. Text the user
    // types beyond those characters falls back to the system's fonts.
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/tongqiu-sans.otf"));
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    const QFont font(family.isEmpty() ? QStringLiteral("Noto Sans CJK SC") : family, 9);
    QApplication::setFont(font);
    QApplication::setStyle(new ButtonOrderStyle);
}
// NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
