#include "application_style.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
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
#ifdef Q_OS_WIN
    QFont font(QStringLiteral("SimSun"), 9);
#else
    QFont font(QStringLiteral("Noto Sans CJK SC"), 9);
#endif
    QApplication::setFont(font);
    QApplication::setStyle(new ButtonOrderStyle);
}
// NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
