#include "componenttexts.h"

void TextRegistry::add(QStringView key, QStringView replacement)
{
    const QString folded = key.toString().toCaseFolded();
    const auto found = m_index.constFind(folded);
    if (found != m_index.constEnd()) {
        m_entries[*found].replacement = replacement.toString();
        return;
    }
    m_index.insert(folded, m_entries.size());
    m_entries.push_back({key.toString(), replacement.toString()});
}

QString TextRegistry::text(QStringView key) const
{
    const auto found = m_index.constFind(key.toString().toCaseFolded());
    return found == m_index.constEnd() ? key.toString() : m_entries[*found].replacement;
}

bool TextRegistry::contains(QStringView key) const
{
    return m_index.contains(key.toString().toCaseFolded());
}

void TextRegistry::clear()
{
    m_entries.clear();
    m_index.clear();
}

TextRegistry& componentTexts()
{
    static TextRegistry registry;
    return registry;
}
