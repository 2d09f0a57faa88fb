#include "qttranslation.h"

#include <QCoreApplication>
#include <QTranslator>

bool QtTranslation::install(QCoreApplication* application)
{
    Q_INIT_RESOURCE(translations);
    // Owned by the application, which uses it for as long as it runs.
    auto* translator = new QTranslator(application);
    if (!translator->load(QStringLiteral(":/translations/qt_id.qm"))) {
        delete translator;
        return false;
    }
    return application->installTranslator(translator);
}
