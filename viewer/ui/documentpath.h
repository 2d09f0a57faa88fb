#ifndef DOCUMENTPATH_H
#define DOCUMENTPATH_H

#include <QString>

// Documents reach the window either as plain paths (command line, recent files) or
// as file URLs (the QML file dialog). Everything after the first step works on the
// local path.
class DocumentPath
{
public:
    // The local path of a file URL ("file:///C:/x/a.vardo" gives "C:/x/a.vardo",
    // "file:///home/x/a.vardo" gives "/home/x/a.vardo", escapes decoded); any other
    // text is already a path and comes back unchanged.
    static QString fromUrlOrPath(const QString& text);
};

#endif // DOCUMENTPATH_H
