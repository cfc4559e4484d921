#pragma once

#include "bandedgrid.h"

#include <QFrame>

class QListView;
class QStringListModel;

// The list a column's filter button drops down: "(All)", "(Custom...)",
// "(Blanks)", "(NonBlanks)" and the column's values.
class FilterDropDown : public QFrame
{
    Q_OBJECT

public:
    explicit FilterDropDown(QWidget* parent = nullptr);

    void open(int column, const QStringList& values, const QRect& under);
    int column() const { return m_column; }
    QListView* list() const { return m_list; }
    // The entry at a row of the list, as a pick.
    ColumnFilterPick pickAt(int row) const;

signals:
    void picked(int column, const ColumnFilterPick& pick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickCurrent();

    QListView* m_list;
    QStringListModel* m_model;
    int m_column = -1;
};
