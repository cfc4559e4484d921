#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

// The built-in texts of the components (grid, filter dialogs, editors) are
// English; a registry keyed by that English wording, without regard to letter
// case, holds the text to show in their place.
class TextRegistry
{
public:
    struct Entry
    {
        QString key;
        QString replacement;
    };

    // Replaces the text of a key already present, or adds a new entry.
    void add(QStringView key, QStringView replacement);
    // The replacement of a key, or the key itself when none is registered.
    QString text(QStringView key) const;
    bool contains(QStringView key) const;

    // The entries in the order in which their keys were first registered.
    const std::vector<Entry>& entries() const { return m_entries; }
    void clear();

private:
    std::vector<Entry> m_entries;
    QHash<QString, std::size_t> m_index; // case-folded key -> entry
};

// The registry the components of this program consult.
TextRegistry& componentTexts();

// A built-in text of a component, as the program shows it.
inline QString componentText(QStringView english)
{
    return componentTexts().text(english);
}
