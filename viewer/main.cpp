#include <QApplication>
#include <QQmlEngine>

#include "common.h"
#include "mainwindow.h"
#include "mainwindoweventfilter.h"
#include "qttranslation.h"
#include "uiutils.h"

int main(int argc, char* argv[])
{
    // The attribute is only read while the application object is made.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, true);
    // Sizes follow the screen's scale (125 %, 150 %), and images are drawn for it.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);
    QtTranslation::install(&app);
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
