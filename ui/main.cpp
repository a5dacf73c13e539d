#include <QApplication>

#include "application_style.h"
#include "form1.h"

#ifdef TONGQIU_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <thread>
#endif

int main(int argc, char* argv[]) {
#ifdef TONGQIU_WARM_FONTCONFIG
    // Reading the system's font configuration is the largest single cost of showing the window.
    // It needs no Qt, so the second core does it while Qt connects to the display.
    std::thread fontconfig([] { FcInit(); });
#endif
    SelectFontEngine();
    QApplication app(argc, argv);
#ifdef TONGQIU_WARM_FONTCONFIG
    fontconfig.join();
#endif
    ApplyApplicationStyle();
    Form1 form;
    form.show();
    return QApplication::exec();
}
