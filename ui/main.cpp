#include <QApplication>

#include "application_style.h"
#include "form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ApplyApplicationStyle();
    Form1 form;
    form.show();
    return QApplication::exec();
}
