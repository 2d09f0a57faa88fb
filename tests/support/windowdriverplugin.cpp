#include "windowdriverplugin.h"

#include "windowdriver.h"

#include <QtGlobal>

QObject* WindowDriverPlugin::create(const QString& name, const QString& spec)
{
    Q_UNUSED(spec)
    if (name.compare(QLatin1String("vardowindowdriver"), Qt::CaseInsensitive) != 0 ||
        qEnvironmentVariableIsEmpty("VARDO_DRIVER_LOG"))
        return nullptr;
    // The application keeps and deletes the objects its generic plugins create.
    return new WindowDriver;
}
