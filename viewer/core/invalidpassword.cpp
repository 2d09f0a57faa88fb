#include "invalidpassword.h"

void InvalidPassword::raise() const
{
    throw *this;
}

InvalidPassword* InvalidPassword::clone() const
{
    return new InvalidPassword(*this);
}
