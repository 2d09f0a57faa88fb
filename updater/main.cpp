#include "common.h"
#include "mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Common::setEnvironment();
    MainWindow window;
    return app.exec();
}
