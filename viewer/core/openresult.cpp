#include "openresult.h"

#include <utility>

OpenResult::OpenResult() : code(Initial), files(nullptr), extra(nullptr) {}

OpenResult::OpenResult(int code, const QString& message)
    : code(code), message(message), files(nullptr), extra(nullptr)
{
}

OpenResult::OpenResult(int code, const QString& message, const QString& fileName,
                       QMap<QString, QByteArray>* files, QMap<QString, QString>* extra)
    : code(code), message(message), fileName(fileName), files(files), extra(extra)
{
}

OpenResult::~OpenResult()
{
    delete files;
    delete extra;
}

OpenResult::OpenResult(OpenResult&& other) noexcept
    : code(other.code), message(std::move(other.message)), fileName(std::move(other.fileName)),
      files(std::exchange(other.files, nullptr)), extra(std::exchange(other.extra, nullptr))
{
}

OpenResult& OpenResult::operator=(OpenResult&& other) noexcept
{
    if (this != &other) {
        delete files;
        delete extra;
        code = other.code;
        message = std::move(other.message);
        fileName = std::move(other.fileName);
        files = std::exchange(other.files, nullptr);
        extra = std::exchange(other.extra, nullptr);
    }
    return *this;
}
