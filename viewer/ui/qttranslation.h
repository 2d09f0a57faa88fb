#ifndef QTTRANSLATION_H
#define QTTRANSLATION_H

class QCoreApplication;

// Qt's own texts (the buttons of message boxes, the file and print dialogs, the
// context menus of text fields) in Indonesian, as the rest of the program is. The
// translation is compiled into the program; no system translation is needed.
class QtTranslation
{
public:
    // Installs the translation on the application; false if it could not be loaded.
    static bool install(QCoreApplication* application);
};

#endif // QTTRANSLATION_H
