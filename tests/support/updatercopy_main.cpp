// Runs the updater's copy of the library code (tavi-updater-lib) on the files of its
// application directory, so that a test linking the shared library can check that
// both builds read each other's files.

#include "applicationversion.h"
#include "common.h"
#include "uiutils.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    QTextStream out(stdout);
    if (command == QLatin1String("read-version") && args.size() == 1) {
        ApplicationVersion versions;
        out << versions.getJson() << "\n";
        return 0;
    }
    if (command == QLatin1String("write-version") && args.size() == 2) {
        ApplicationVersion versions;
        versions.setJson(QJsonDocument::fromJson(args.at(1).toUtf8()).object());
        versions.sync();
        return 0;
    }
    if (command == QLatin1String("read-secret") && args.size() == 2) {
        out << UIUtils::decryptValue(UIUtils::getSettingValue(args.at(1))) << "\n";
        return 0;
    }
    if (command == QLatin1String("write-secret") && args.size() == 3) {
        UIUtils::setSettingValue(args.at(1), UIUtils::encryptValue(args.at(2)));
        return 0;
    }
    if (command == QLatin1String("copy") && args.size() == 4) {
        Common::setEnvironment();
        return Common::copyFileWithWildcard(args.at(1), args.at(2), args.at(3)) ? 0 : 1;
    }
    if (command == QLatin1String("fatal") && args.size() == 2) {
        Common::setEnvironment();
        qFatal("%s", qPrintable(args.at(1)));
    }
    QTextStream(stderr)
        << "usage: vardo-test-updatercopy read-version | write-version JSON | read-secret KEY |"
           " write-secret KEY VALUE | copy SOURCE PATTERN DEST | fatal TEXT\n";
    return 2;
}
