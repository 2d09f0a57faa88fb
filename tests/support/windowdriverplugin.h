#ifndef WINDOWDRIVERPLUGIN_H
#define WINDOWDRIVERPLUGIN_H

#include <QGenericPlugin>

// Loads the WindowDriver into any Qt program started with
// QT_QPA_GENERIC_PLUGINS=vardowindowdriver and this plugin's parent directory
// in QT_PLUGIN_PATH.
class WindowDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "windowdriver.json")
public:
    QObject* create(const QString& name, const QString& spec) override;
};

#endif // WINDOWDRIVERPLUGIN_H
