#pragma once

#include "catalogtable.h"
#include "columnorder.h"
#include "gridlayout.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <span>
#include <unordered_set>
#include <vector>

// What a banded grid shows of the catalogue, without any widget: its bands
// and columns, the rows that its filter lets through in its order and
// grouping, the group rows with their footers, and the focused row, which
// follows the table's current row both ways.
//
// The view only ever reorders what it shows; the table keeps its own order.
// Rows that compare equal in the view keep the table's order.
class BandedTableView : public QObject
{
    Q_OBJECT

public:
    struct Row
    {
        enum class Kind : unsigned char { Data, Group, GroupFooter };
        Kind kind = Kind::Data;
        // 0 for the outermost grouping; data rows stand at the number of
        // grouped columns.
        int level = 0;
        RowId row = NoRow; // data rows
        int group = -1; // group rows and footers
    };

    struct Group
    {
        int level = 0;
        int parent = -1;
        // The group's data rows, as indices into the sorted data.
        uint32_t begin = 0;
        uint32_t end = 0;
        uint64_t identity = 0; // of the group's value, see ColumnOrder
        uint64_t pathHash = 0;
        bool expanded = false;
        // Where the group's row and its first data row stand among the shown
        // rows; -1 while hidden.
        int visibleRow = -1;
        int firstDataRow = -1;
    };

    using RowFilter = std::function<bool(RowId)>;
    // The same filter on many rows at once: the rows that pass, in order.
    using RowSelector = std::function<std::vector<RowId>(std::span<const RowId>)>;

    explicit BandedTableView(CatalogueTable& table, QObject* parent = nullptr);
    ~BandedTableView() override;

    CatalogueTable& table() const { return m_table; }
    GridLayout& layout() { return m_layout; }
    const GridLayout& layout() const { return m_layout; }
    GridAppearance& appearance() { return m_appearance; }
    const GridAppearance& appearance() const { return m_appearance; }
    // To be called after the layout was changed directly.
    void layoutEdited();

    // --- Sorting: by one column at a time, besides the grouped columns
    int sortColumn() const { return m_sortColumn; }
    SortOrder sortOrder(int column) const;
    void sortBy(int column, SortOrder order);
    // A header click: ascending first, then the other way at each click.
    void toggleSort(int column);

    // --- Grouping
    const std::vector<int>& groupedColumns() const { return m_grouped; }
    // Groups by the column at index among the grouped columns (-1: last); a
    // grouped column moves there.
    void groupBy(int column, int index = -1);
    void ungroup(int column);
    void toggleGroupOrder(int column);

    // --- Filtering
    void setFilter(RowFilter filter, QString text, RowSelector selector = nullptr);
    void clearFilter();
    bool hasFilter() const { return bool(m_filter); }
    // The filter bar can switch the filter off without dropping it.
    void setFilterEnabled(bool enabled);
    bool isFilterEnabled() const { return m_filterEnabled; }
    const QString& filterText() const { return m_filterText; }

    // --- The rows shown
    int rowCount() const { return int(m_visible.size()); }
    Row row(int index) const;
    int dataRowCount() const { return int(m_data.size()); }
    RowId dataRow(int index) const { return m_data[std::size_t(index)]; }
    int groupCount() const { return int(m_groups.size()); }
    const Group& group(int index) const { return m_groups[std::size_t(index)]; }
    int groupColumn(int group) const
    {
        return m_grouped[std::size_t(m_groups[std::size_t(group)].level)];
    }
    // "Caption : value".
    QString groupText(int group) const;
    QString cellText(RowId row, int column) const;
    // The footers of groups show no value.
    QString footerText(int group, int column) const;
    void setExpanded(int group, bool expanded);
    void expandAll();

    // --- Focus
    // The shown row that has the focus: the table's current row, or the group
    // row that hides it; -1 when the current row is not shown.
    int focusedRow() const;
    // Focuses a shown row; a data row becomes the table's current row.
    void setFocusedRow(int index);

    // The column's distinct values as shown, in the column's order, without
    // the blank value.
    QStringList distinctValues(int column) const;

    // Memory of the view's own arrays and of the orders it learned.
    std::size_t memoryBytes() const;
    std::size_t learnedOrderBytes() const;

signals:
    // The shown rows changed; the focus may have moved.
    void rowsChanged();
    // Bands or columns changed (moved, resized, grouped away).
    void layoutChanged();
    void focusChanged();

private:
    struct Level
    {
        ColumnOrder* order;
        bool descending;
    };

    enum : uint32_t {
        dataTag = 0u << 30,
        groupTag = 1u << 30,
        footerTag = 2u << 30,
        tagMask = 3u << 30,
    };

    ColumnOrder& order(int column) const;
    std::vector<Level> levels() const;
    bool passes(RowId row) const;
    int compareRows(const std::vector<Level>& levels, RowId a, int positionA, RowId b) const;
    int locate(RowId row) const;
    int insertionIndex(RowId row) const;

    void rebuild();
    void sortData(const std::vector<Level>& levels);
    void buildGroups();
    void buildVisible();
    void afterRowsMoved();
    void afterOneRowMoved();

    // One data row in or out, with the groups kept up to date.
    void insertData(RowId row);
    void removeData(int index);
    int innermostGroupAt(uint32_t index) const;
    std::vector<int> groupPath(int innermost) const;
    Group newGroup(int level, int parent, uint32_t at, uint64_t identity) const;

    void onRowInserted(RowId row);
    void onRowAboutToChange(RowId row);
    void onRowChanged(RowId row);
    void onRowAboutToBeRemoved(RowId row);
    void onReset();
    void onCurrentChanged();
    void updateOrders(RowId row);

    CatalogueTable& m_table;
    GridLayout m_layout;
    GridAppearance m_appearance = GridAppearance::standard();
    mutable std::vector<std::unique_ptr<ColumnOrder>> m_orders; // by field

    int m_sortColumn = -1;
    SortOrder m_sortOrder = SortOrder::None;
    std::vector<int> m_grouped;
    std::vector<SortOrder> m_groupOrder; // of each grouped column

    RowFilter m_filter;
    RowSelector m_selector;
    QString m_filterText;
    bool m_filterEnabled = true;

    std::vector<RowId> m_data;
    std::vector<Group> m_groups;
    std::vector<uint32_t> m_visible;
    std::unordered_set<uint64_t> m_expandedPaths;

    int m_changing = -1; // data index of the row about to change
    mutable int m_focused = -1;
    mutable bool m_focusKnown = false;
    // A focused group row, by its path: it keeps the focus while groups are
    // expanded and collapsed, until the table's cursor moves.
    uint64_t m_focusedGroup = 0;
    bool m_movingCursor = false;
};
