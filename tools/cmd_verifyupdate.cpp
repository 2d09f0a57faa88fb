// vardotool verify-update: checks an update package exactly as the updater does
// before it replaces anything, against the built-in key or the one given.

#include "packageverifier.h"

#include <QTextStream>

int runVerifyUpdate(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString key = PackageVerifier::builtInKey();
    QString package;
    const QStringList options = args.mid(1);
    for (int i = 0; i < options.size(); ++i) {
        const QString& arg = options.at(i);
        if (arg == QLatin1String("--public-key") && i + 1 < options.size()) {
            key = options.at(++i);
        } else if (!arg.startsWith(QLatin1Char('-')) && package.isEmpty()) {
            package = arg;
        } else {
            err << "usage: vardotool verify-update [--public-key KEY] PACKAGE\n"
                   "KEY is the Base64 line of a public key file; without it the key built\n"
                   "into the programs is used. Exit 0: the package would be applied.\n";
            return 2;
        }
    }
    if (package.isEmpty()) {
        err << "vardotool verify-update: no package given\n";
        return 2;
    }
    // No installed versions: the check of versions against an installation is the
    // updater's, which knows them.
    const PackageVerifier::Result result = PackageVerifier(key).verify(package, {});
    if (!result.accepted()) {
        err << "vardotool verify-update: " << package << ": " << result.detail << "\n";
        return 1;
    }
    out << package << ": signed manifest of " << result.manifest.size() << " entries verified\n";
    return 0;
}
