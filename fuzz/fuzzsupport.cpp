#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg)
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::abort();
}

} // namespace

namespace FuzzSupport {

void initialise(int* argc, char*** argv, App app)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    // The application object must outlive every input; the process ends without
    // destroying it, as libFuzzer exits from inside its own loop.
    if (app == App::Gui)
        new QGuiApplication(*argc, *argv);
    else
        new QCoreApplication(*argc, *argv);
}

QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

} // namespace FuzzSupport
