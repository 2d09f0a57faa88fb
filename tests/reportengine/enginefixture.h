#ifndef ENGINEFIXTURE_H
#define ENGINEFIXTURE_H

#include <QString>

// The path of a template written for the engine tests.
inline QString engineFixture(const QString& name)
{
    return QStringLiteral(TEST_FIXTURES "/reportengine/") + name;
}

#endif // ENGINEFIXTURE_H
