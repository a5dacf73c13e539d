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

void SelectFontEngine() {
#ifdef Q_OS_WIN
    // Windows' own text engine (GDI) rounds every glyph to whole pixels, which widens "表10" past
    // its 25-pixel box; Qt's FreeType engine keeps the font's widths, as on Linux.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
    }
#endif
}

// NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks): QApplication owns the style it is given.
void ApplyApplicationStyle() {
    // Noto Sans CJK SC, cut down to the characters the program shows and built into the program,
    // so that every platform shows the same font: loading the full 20 MB collection cost start-up
    // time and 4 MB of memory, and Windows installs differ in their Chinese fonts. Text the user
    // types beyond those characters falls back to the system's fonts.
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/tongqiu-sans.otf"));
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    QFont font(family.isEmpty() ? QStringLiteral("Noto Sans CJK SC") : family, 9);
    // The font's own widths wherever the text engine allows it, so captions measure alike.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
    QApplication::setStyle(new ButtonOrderStyle);
}
// NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
