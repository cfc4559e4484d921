#include "gridfilter.h"

#include "customfilterdialog.h"
#include "filterbuilderdialog.h"
#include "filtermatcher.h"
#include "filtertext.h"

#include <memory>

GridFilter::GridFilter(BandedGrid& grid)
    : QObject(&grid)
    , m_grid(grid)
{
    connect(&grid, &BandedGrid::columnFilterPicked, this, &GridFilter::applyPick);
    connect(&grid, &BandedGrid::customizeFilterRequested, this, &GridFilter::editFilter);
}

// The shown columns, with their captions, and the value lists of the grid.
FilterColumns GridFilter::columns() const
{
    const BandedTableView& view = m_grid.view();
    const GridLayout& layout = view.layout();
    std::vector<std::pair<Field, QString>> captions;
    std::vector<int> indices;
    for (std::size_t c = 0; c < layout.columns().size(); ++c) {
        if (layout.columns()[c].visible) {
            captions.emplace_back(layout.columns()[c].field, layout.columns()[c].shownCaption());
            indices.push_back(int(c));
        }
    }
    std::vector<FilterColumn> columns = FilterColumns::forTable(view.table(), captions).columns();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int column = indices[k];
        const BandedTableView* source = &view;
        columns[k].distinctValues = [source, column] { return source->distinctValues(column); };
    }
    return FilterColumns(view.table().regionalSettings(), std::move(columns));
}

void GridFilter::setFilter(const FilterExpression& filter)
{
    BandedTableView& view = m_grid.view();
    if (filter.isEmpty()) {
        m_filter = FilterExpression();
        view.clearFilter();
        return;
    }
    const FilterColumns columns = this->columns();
    auto matcher = std::make_shared<FilterMatcher>(filter, columns, m_today());
    m_filter = filter;
    view.setFilter([matcher](RowId row) { return matcher->matches(row); },
        filterText(filter, columns),
        [matcher](std::span<const RowId> rows) { return matcher->select(rows); });
}

void GridFilter::applyPick(int column, const ColumnFilterPick& pick)
{
    const Field field = m_grid.view().layout().column(column).field;
    using Kind = ColumnFilterPick::Kind;
    if (pick.kind == Kind::Custom) {
        editColumnFilter(column);
        return;
    }
    FilterGroup group;
    switch (pick.kind) {
    case Kind::Blanks:
        group.items.push_back(FilterCondition {field, FilterOperator::Blank, {}});
        break;
    case Kind::NonBlanks:
        group.items.push_back(FilterCondition {field, FilterOperator::NotBlank, {}});
        break;
    case Kind::Value:
        if (const std::optional<FieldValue> value = columns().parseValue(field, pick.value))
            group.items.push_back(FilterCondition {field, FilterOperator::Equal, {*value}});
        break;
    case Kind::All:
    case Kind::Custom:
        break;
    }
    setFilter(withColumnFilter(m_filter, field, std::move(group)));
}

void GridFilter::prepare(QDialog& dialog)
{
    if (m_dialogHook)
        m_dialogHook(dialog);
}

void GridFilter::editColumnFilter(int column)
{
    const Field field = m_grid.view().layout().column(column).field;
    const FilterGroup current = columnFilter(m_filter, field);
    if (!CustomFilterDialog::canShow(current, field)) {
        editFilter();
        return;
    }
    CustomFilterDialog dialog(columns(), field, m_grid.window());
    dialog.setFilter(current);
    prepare(dialog);
    if (dialog.exec() == QDialog::Accepted)
        setFilter(withColumnFilter(m_filter, field, dialog.filter()));
}

void GridFilter::editFilter()
{
    FilterBuilderDialog dialog(columns(), m_grid.window());
    dialog.setFilter(m_filter);
    // "Apply" filters the grid at once; "OK" filters it and closes.
    connect(&dialog, &FilterBuilderDialog::applied, this, &GridFilter::setFilter);
    prepare(dialog);
    if (dialog.exec() == QDialog::Accepted)
        setFilter(dialog.filter());
}
