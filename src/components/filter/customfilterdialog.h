#pragma once

#include "filtercolumns.h"
#include "filterexpression.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QRadioButton;
class ValueBox;

// The custom filter of one column: two conditions on the column, each an
// operator and a value, joined by "AND" or "OR". A condition without an
// operator, or whose operator needs a value and has none, is left out. The
// column's values are read once, the first time a value list opens: make the
// dialog afresh each time it is shown.
class CustomFilterDialog : public QDialog
{
    Q_OBJECT

public:
    CustomFilterDialog(FilterColumns columns, Field column, QWidget* parent = nullptr);

    // Whether the dialog can show a column's filter: at most two conditions,
    // on that column, with operators of at most one value, under "AND" or "OR".
    static bool canShow(const FilterGroup& group, Field column);

    // Shows a filter that canShow accepts; any other starts empty.
    void setFilter(const FilterGroup& group);
    // The filter as last accepted, or as set.
    const FilterGroup& filter() const { return m_filter; }

    // OK: keeps the filter and closes when every value suits the column.
    void accept() override;

private:
    struct ConditionRow
    {
        QComboBox* op = nullptr;
        ValueBox* value = nullptr;
        QLabel* invalid = nullptr;
    };

    void fillOperators(QComboBox* box);
    void operatorChanged(const ConditionRow& row);
    bool checkValues();
    std::optional<FilterGroup> edited() const;

    FilterColumns m_columns;
    Field m_column;
    FilterGroup m_filter;
    std::array<ConditionRow, 2> m_rows;
    QRadioButton* m_and = nullptr;
    QRadioButton* m_or = nullptr;
};
