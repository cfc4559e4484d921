#pragma once

#include <QAbstractTableModel>

class CatalogueTable;

// The catalogue as a read-only item model: one row per book in the table's
// order, one column per stored field, showing display texts.
class CatalogueModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CatalogueModel(CatalogueTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CatalogueTable& m_table;
};
