#ifndef TOOLDOCUMENT_H
#define TOOLDOCUMENT_H

#include "openresult.h"

#include <QString>
#include <QStringList>

#include <memory>

// Opens the document a report command works on, as the viewer of this version does.
class ToolDocument
{
public:
    // The opened document, or null after the reason has been printed; exitCode then
    // holds the document's result code.
    static std::unique_ptr<OpenResult> open(const QStringList& args, const QString& path,
                                            const QString& password, int* exitCode);
};

#endif // TOOLDOCUMENT_H
