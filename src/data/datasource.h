#pragma once

#include <QObject>

class CatalogueTable;

// Links the views of a window to the catalogue table they show and change.
class DataSource : public QObject
{
    Q_OBJECT

public:
    explicit DataSource(CatalogueTable* table, QObject* parent = nullptr)
        : QObject(parent)
        , m_table(table)
    { }

    CatalogueTable* dataSet() const { return m_table; }

private:
    CatalogueTable* m_table;
};
