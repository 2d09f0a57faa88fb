#ifndef STRINGPOOL_H
#define STRINGPOOL_H

#include <QSet>
#include <QString>
#include <QVariantMap>

// Hands out one shared QString per distinct text. The thousands of rows of a large
// data set repeat the same keys and many of the same values (codes, dates, their
// descriptions); pooled, each is held once instead of once per row. Texts longer than
// longestShared are passed on as they are: they seldom repeat, and hashing a huge
// field would cost time for nothing.
class StringPool
{
public:
    static constexpr int longestShared = 256;

    QString shared(const QString& text);
    // Puts the pool's copy in place of every text value of `row` that is held nowhere
    // else; a text already shared is held once for many rows as it is.
    void shareValues(QVariantMap& row);

private:
    QSet<QString> m_texts;
};

#endif // STRINGPOOL_H
