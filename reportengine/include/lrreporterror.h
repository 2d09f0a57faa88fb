#ifndef LRREPORTERROR_H
#define LRREPORTERROR_H

#include <QString>

#include <stdexcept>

namespace LimeReport {

// Thrown by the data manager when a caller asks for something it cannot give, for
// example a second source under a name that is already taken.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

} // namespace LimeReport

#endif // LRREPORTERROR_H
