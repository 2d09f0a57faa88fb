#ifndef INVALIDPASSWORD_H
#define INVALIDPASSWORD_H

#include <QException>

// Kept for callers that catch it; the decoder reports a wrong password as a result code
// and never throws this.
class InvalidPassword : public QException
{
public:
    void raise() const override;
    InvalidPassword* clone() const override;
};

#endif // INVALIDPASSWORD_H
