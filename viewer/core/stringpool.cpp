#include "stringpool.h"

QString StringPool::shared(const QString& text)
{
    if (text.size() > longestShared)
        return text;
    const auto found = m_texts.constFind(text);
    if (found != m_texts.cend())
        return *found;
    m_texts.insert(text);
    return text;
}

void StringPool::shareValues(QVariantMap& row)
{
    for (QVariant& value : row) {
        if (value.userType() != QMetaType::QString)
            continue;
        const QString* text = static_cast<const QString*>(value.constData());
        if (!text->isDetached())
            continue;
        const QString pooled = shared(*text);
        if (pooled.constData() != text->constData())
            value = pooled;
    }
}
