#include <QApplication>
#include <QQmlEngine>

#include "common.h"
#include "mainwindow.h"
#include "mainwindoweventfilter.h"
#include "uiutils.h"

int main(int argc, char* argv[])
{
    // The attribute is only read while the application object is made.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, true);
    QApplication app(argc, argv);
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    Common::setEnvironment();

    MainWindow window(QCoreApplication::arguments());
    MainWindowEventFilter filter;
    window.installEventFilter(&filter);
    try {
        window.show();
    } catch (...) {
        QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, true);
        window.show();
    }
    return app.exec();
}
