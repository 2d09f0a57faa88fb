#include "packageverifier.h"

// Compiled once per trusted key, so that a build's programs and its tests' own
// copies of them each get the key meant for them.
QString PackageVerifier::builtInKey()
{
    return QStringLiteral(VARDO_UPDATE_PUBLIC_KEY);
}
