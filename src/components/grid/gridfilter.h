#pragma once

#include "bandedgrid.h"
#include "filtercolumns.h"
#include "filterexpression.h"

#include <QDate>
#include <QObject>

#include <functional>

class FilterBuilderDialog;

// The filter of a banded grid: one expression over its columns, which the
// column drop-downs, the custom filter dialog and the filter builder edit,
// and which the view applies and the filter bar writes out.
class GridFilter : public QObject
{
    Q_OBJECT

public:
    explicit GridFilter(BandedGrid& grid);

    const FilterExpression& filter() const { return m_filter; }
    // Applies a filter; throws Error when it does not suit the columns.
    void setFilter(const FilterExpression& filter);
    FilterColumns columns() const;

    // What a pick in a column's drop-down does.
    void applyPick(int column, const ColumnFilterPick& pick);
    // The custom filter dialog of a column, or the filter builder when the
    // column's filter is more than that dialog can show.
    void editColumnFilter(int column);
    // The filter builder, on the whole filter.
    void editFilter();

    // The day the relative dates count from; the current date unless set.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }
    // Lets tests drive the dialogs before they run.
    void setDialogHook(std::function<void(QDialog&)> hook) { m_dialogHook = std::move(hook); }

private:
    void prepare(QDialog& dialog);

    BandedGrid& m_grid;
    FilterExpression m_filter;
    std::function<QDate()> m_today = [] { return QDate::currentDate(); };
    std::function<void(QDialog&)> m_dialogHook;
};
