#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QOpenGLContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTextStream>

#include "common.h"
#include "mainwindow.h"
#include "mainwindoweventfilter.h"
#include "plainmessage.h"
#include "platform.h"
#include "qttranslation.h"
#include "uiutils.h"
#include "viewercommandline.h"

namespace {

QStringList rawArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Without a working OpenGL the QML shell would abort the program when it first draws.
// The software renderer draws the same screens, only slower. A backend chosen through
// the environment is left alone.
void chooseSceneGraphBackend()
{
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") ||
        !qEnvironmentVariableIsEmpty("QMLSCENE_DEVICE"))
        return;
    QOpenGLContext probe;
    if (probe.create())
        return;
    qWarning() << "main: no OpenGL context, the QML shell is drawn by the software renderer";
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}

} // namespace

int main(int argc, char* argv[])
{
    {
        // Answered before the application object, which needs a display.
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int answered = ViewerCommandLine::answerOptions(rawArguments(argc, argv), out, err);
        if (answered != ViewerCommandLine::proceed)
            return answered;
    }

    // The attribute is only read while the application object is made.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, true);
    // Sizes follow the screen's scale (125 %, 150 %), and images are drawn for it.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    QApplication app(argc, argv);
    QtTranslation::install(&app);
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    Common::setEnvironment();
    chooseSceneGraphBackend();

    ViewerCommandLine commandLine;
    QFile input;
    Platform::useBinaryStandardInput();
    input.open(stdin, QIODevice::ReadOnly);
    const int resolved = commandLine.resolveDocument(QCoreApplication::arguments(), &input);
    if (resolved != ViewerCommandLine::proceed) {
        qWarning().noquote() << "main:" << commandLine.error();
        QTextStream(stderr) << commandLine.error() << "\n";
        // Started from the desktop, the user sees no terminal.
        PlainMessage::show(nullptr, QMessageBox::Information, QStringLiteral("Informasi"),
                           commandLine.error());
        return resolved;
    }

    MainWindow window(commandLine.windowArguments());
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
