#ifndef OPENRESULT_H
#define OPENRESULT_H

#include <QByteArray>
#include <QMap>
#include <QString>

// What opening a document gives back: a status code with its user-facing message and,
// on success, the decoded archive entries keyed by entry file name. The result owns
// both maps; a caller that keeps a map takes it and sets the pointer to null first.
class OpenResult
{
public:
    enum Code
    {
        Success = 0,
        Initial = 1,
        ViewerTooOld = 2,
        InvalidPasswordCode = 3,
        // The password was right but the payload is no readable archive.
        Damaged = 4,
    };

    OpenResult();
    OpenResult(int code, const QString& message);
    OpenResult(int code, const QString& message, const QString& fileName,
               QMap<QString, QByteArray>* files, QMap<QString, QString>* extra);
    ~OpenResult();

    OpenResult(const OpenResult&) = delete;
    OpenResult& operator=(const OpenResult&) = delete;
    OpenResult(OpenResult&& other) noexcept;
    OpenResult& operator=(OpenResult&& other) noexcept;

    int code;
    QString message;
    QString fileName;
    QMap<QString, QByteArray>* files;
    QMap<QString, QString>* extra;
};

#endif // OPENRESULT_H
