#include "cataloguemodel.h"

#include "catalogtable.h"

CatalogueModel::CatalogueModel(CatalogueTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
    // Any change moves rows about; the view reads them anew.
    for (auto signal :
        {&CatalogueTable::rowInserted, &CatalogueTable::rowChanged, &CatalogueTable::rowRemoved}) {
        connect(&m_table, signal, this, [this] {
            beginResetModel();
            endResetModel();
        });
    }
    connect(&m_table, &CatalogueTable::rowsReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int CatalogueModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.recordCount();
}

int CatalogueModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : storedFieldCount;
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_table.displayText(m_table.rowAt(index.row()), Field(index.column()));
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return fieldDef(Field(section)).nameString();
}
