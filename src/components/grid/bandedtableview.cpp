#include "bandedtableview.h"

#include <algorithm>

namespace {

uint64_t combine(uint64_t parent, uint64_t identity, int level)
{
    uint64_t hash = parent ^ (identity + 0x9E3779B97F4A7C15ULL + (parent << 6) + (parent >> 2));
    hash ^= uint64_t(level) * 0xC2B2AE3D27D4EB4FULL;
    return hash * 0xFF51AFD7ED558CCDULL;
}

} // namespace

BandedTableView::BandedTableView(CatalogueTable& table, QObject* parent)
    : QObject(parent)
    , m_table(table)
{
    m_orders.resize(fieldCount);
    connect(&table, &CatalogueTable::rowInserted, this, &BandedTableView::onRowInserted);
    connect(&table, &CatalogueTable::rowAboutToChange, this, &BandedTableView::onRowAboutToChange);
    connect(&table, &CatalogueTable::rowChanged, this, &BandedTableView::onRowChanged);
    connect(&table, &CatalogueTable::rowAboutToBeRemoved, this,
        &BandedTableView::onRowAboutToBeRemoved);
    connect(&table, &CatalogueTable::rowsReset, this, &BandedTableView::onReset);
    connect(&table, &CatalogueTable::currentChanged, this, &BandedTableView::onCurrentChanged);
    rebuild();
}

BandedTableView::~BandedTableView() = default;

void BandedTableView::layoutEdited()
{
    emit layoutChanged();
}

ColumnOrder& BandedTableView::order(int column) const
{
    const Field field = m_layout.column(column).field;
    std::unique_ptr<ColumnOrder>& order = m_orders[std::size_t(index(field))];
    if (!order)
        order = std::make_unique<ColumnOrder>(m_table, field);
    return *order;
}

// --- Sorting, grouping, filtering

SortOrder BandedTableView::sortOrder(int column) const
{
    const auto grouped = std::find(m_grouped.begin(), m_grouped.end(), column);
    if (grouped != m_grouped.end())
        return m_groupOrder[std::size_t(grouped - m_grouped.begin())];
    return column == m_sortColumn ? m_sortOrder : SortOrder::None;
}

void BandedTableView::sortBy(int column, SortOrder order)
{
    m_sortColumn = order == SortOrder::None ? -1 : column;
    m_sortOrder = order;
    rebuild();
}

void BandedTableView::toggleSort(int column)
{
    const SortOrder next
        = sortOrder(column) == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
    const auto grouped = std::find(m_grouped.begin(), m_grouped.end(), column);
    if (grouped != m_grouped.end()) {
        m_groupOrder[std::size_t(grouped - m_grouped.begin())] = next;
        rebuild();
        return;
    }
    sortBy(column, next);
}

void BandedTableView::groupBy(int column, int index)
{
    SortOrder order = SortOrder::Ascending;
    const auto found = std::find(m_grouped.begin(), m_grouped.end(), column);
    if (found != m_grouped.end()) {
        order = m_groupOrder[std::size_t(found - m_grouped.begin())];
        m_groupOrder.erase(m_groupOrder.begin() + (found - m_grouped.begin()));
        m_grouped.erase(found);
    }
    if (index < 0 || index > int(m_grouped.size()))
        index = int(m_grouped.size());
    m_grouped.insert(m_grouped.begin() + index, column);
    m_groupOrder.insert(m_groupOrder.begin() + index, order);
    m_layout.setGrouped(column, true);
    emit layoutChanged();
    rebuild();
}

void BandedTableView::ungroup(int column)
{
    const auto found = std::find(m_grouped.begin(), m_grouped.end(), column);
    if (found == m_grouped.end())
        return;
    m_groupOrder.erase(m_groupOrder.begin() + (found - m_grouped.begin()));
    m_grouped.erase(found);
    m_layout.setGrouped(column, false);
    emit layoutChanged();
    rebuild();
}

void BandedTableView::toggleGroupOrder(int column)
{
    toggleSort(column);
}

void BandedTableView::setFilter(RowFilter filter, QString text, RowSelector selector)
{
    m_filter = std::move(filter);
    m_selector = std::move(selector);
    m_filterText = std::move(text);
    m_filterEnabled = true;
    rebuild();
}

void BandedTableView::clearFilter()
{
    m_filter = nullptr;
    m_selector = nullptr;
    m_filterText.clear();
    m_filterEnabled = true;
    rebuild();
}

void BandedTableView::setFilterEnabled(bool enabled)
{
    if (m_filterEnabled == enabled)
        return;
    m_filterEnabled = enabled;
    rebuild();
}

bool BandedTableView::passes(RowId row) const
{
    return !m_filter || !m_filterEnabled || m_filter(row);
}

// --- The order of the data rows

std::vector<BandedTableView::Level> BandedTableView::levels() const
{
    std::vector<Level> result;
    for (std::size_t k = 0; k < m_grouped.size(); ++k)
        result.push_back({&order(m_grouped[k]), m_groupOrder[k] == SortOrder::Descending});
    const bool sortGrouped
        = std::find(m_grouped.begin(), m_grouped.end(), m_sortColumn) != m_grouped.end();
    if (m_sortColumn >= 0 && !sortGrouped)
        result.push_back({&order(m_sortColumn), m_sortOrder == SortOrder::Descending});
    for (const Level& level : result)
        level.order->learn();
    return result;
}

// Rows compare by the keys of the levels, then by their place in the table.
int BandedTableView::compareRows(
    const std::vector<Level>& levels, RowId a, int positionA, RowId b) const
{
    for (const Level& level : levels) {
        const uint64_t ka = level.order->key(a), kb = level.order->key(b);
        if (ka != kb)
            return (ka < kb) != level.descending ? -1 : 1;
    }
    const int positionB = m_table.positionOf(b);
    return positionA < positionB ? -1 : positionA > positionB ? 1 : 0;
}

// The index of a shown data row, -1 when the row is not shown.
int BandedTableView::locate(RowId row) const
{
    if (!m_table.contains(row) || m_data.empty())
        return -1;
    const std::vector<Level> sortLevels = levels();
    const int position = m_table.positionOf(row);
    const auto it = std::lower_bound(m_data.begin(), m_data.end(), row,
        [&](RowId other, RowId) { return compareRows(sortLevels, row, position, other) > 0; });
    return it != m_data.end() && *it == row ? int(it - m_data.begin()) : -1;
}

int BandedTableView::insertionIndex(RowId row) const
{
    const std::vector<Level> sortLevels = levels();
    const int position = m_table.positionOf(row);
    const auto it = std::lower_bound(m_data.begin(), m_data.end(), row,
        [&](RowId other, RowId) { return compareRows(sortLevels, row, position, other) > 0; });
    return int(it - m_data.begin());
}

void BandedTableView::rebuild()
{
    m_data.clear();
    const int count = m_table.isOpen() ? m_table.recordCount() : 0;
    m_data.reserve(std::size_t(count));
    const bool filtering = m_filter && m_filterEnabled;
    for (int i = 0; i < count; ++i) {
        const RowId row = m_table.rowAt(i);
        if (!filtering || m_selector || m_filter(row))
            m_data.push_back(row);
    }
    if (filtering && m_selector)
        m_data = m_selector(m_data);
    sortData(levels());
    afterRowsMoved();
}

// Sorts the data rows, which stand in the table's order, level by level from
// the last: each pass is stable, so earlier levels decide and equal rows keep
// the table's order.
void BandedTableView::sortData(const std::vector<Level>& sortLevels)
{
    std::vector<RowId> sorted(m_data.size());
    for (auto level = sortLevels.rbegin(); level != sortLevels.rend(); ++level) {
        const ColumnOrder& order = *level->order;
        if (order.isText()) {
            // Ranks are dense: a counting sort.
            const uint32_t limit = order.rankLimit();
            std::vector<uint32_t> starts(std::size_t(limit) + 1, 0);
            auto rankOf = [&](RowId row) {
                const auto rank = uint32_t(order.key(row));
                return level->descending ? limit - 1 - rank : rank;
            };
            for (const RowId row : m_data)
                ++starts[rankOf(row) + 1];
            for (std::size_t k = 1; k < starts.size(); ++k)
                starts[k] += starts[k - 1];
            for (const RowId row : m_data)
                sorted[starts[rankOf(row)]++] = row;
            m_data.swap(sorted);
        } else {
            std::vector<std::pair<uint64_t, RowId>> keyed(m_data.size());
            for (std::size_t i = 0; i < m_data.size(); ++i) {
                const uint64_t key = order.key(m_data[i]);
                keyed[i] = {level->descending ? ~key : key, m_data[i]};
            }
            std::stable_sort(keyed.begin(), keyed.end(),
                [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t i = 0; i < m_data.size(); ++i)
                m_data[i] = keyed[i].second;
        }
    }
}

BandedTableView::Group BandedTableView::newGroup(
    int level, int parent, uint32_t at, uint64_t identity) const
{
    Group group;
    group.level = level;
    group.parent = parent;
    group.begin = group.end = at;
    group.identity = identity;
    const uint64_t parentHash = parent >= 0 ? m_groups[std::size_t(parent)].pathHash : 0;
    group.pathHash = combine(parentHash, identity, level);
    group.expanded = m_expandedPaths.count(group.pathHash) > 0;
    return group;
}

void BandedTableView::afterOneRowMoved()
{
    buildVisible();
    m_focusKnown = false;
    emit rowsChanged();
    emit focusChanged();
}

// The innermost group that holds a data index: groups stand in the order of
// their first rows, parents before their children.
int BandedTableView::innermostGroupAt(uint32_t index) const
{
    const auto after = std::upper_bound(m_groups.begin(), m_groups.end(), index,
        [](uint32_t i, const Group& g) { return i < g.begin; });
    int g = int(after - m_groups.begin()) - 1;
    const int innermost = int(m_grouped.size()) - 1;
    while (g >= 0 && m_groups[std::size_t(g)].level != innermost)
        --g;
    return g;
}

// The groups from the outermost down to the given innermost one.
std::vector<int> BandedTableView::groupPath(int innermost) const
{
    std::vector<int> path(m_grouped.size(), -1);
    for (int g = innermost; g >= 0; g = m_groups[std::size_t(g)].parent)
        path[std::size_t(m_groups[std::size_t(g)].level)] = g;
    return path;
}

void BandedTableView::removeData(int index)
{
    m_data.erase(m_data.begin() + index);
    if (m_grouped.empty())
        return;
    const auto i = uint32_t(index);
    for (Group& g : m_groups) {
        if (g.begin > i)
            --g.begin;
        if (g.end > i)
            --g.end;
    }
    // Groups left without rows go; the others keep their parents.
    std::vector<int> renumbered(m_groups.size(), -1);
    std::size_t kept = 0;
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        if (m_groups[g].begin == m_groups[g].end)
            continue;
        renumbered[g] = int(kept);
        Group group = m_groups[g];
        if (group.parent >= 0)
            group.parent = renumbered[std::size_t(group.parent)];
        m_groups[kept++] = group;
    }
    m_groups.resize(kept);
}

// The new row joins the groups of a neighbour whose values it shares, level
// by level; from the first level where it shares none, it opens new groups.
void BandedTableView::insertData(RowId row)
{
    const auto j = uint32_t(insertionIndex(row));
    const std::vector<int> before
        = j > 0 ? groupPath(innermostGroupAt(j - 1)) : std::vector<int>(m_grouped.size(), -1);
    const std::vector<int> after = j < m_data.size() ? groupPath(innermostGroupAt(j))
                                                     : std::vector<int>(m_grouped.size(), -1);
    m_data.insert(m_data.begin() + j, row);
    if (m_grouped.empty())
        return;

    std::vector<int> joined(m_grouped.size(), -1);
    std::size_t level = 0;
    for (; level < m_grouped.size(); ++level) {
        const uint64_t identity = order(m_grouped[level]).identity(row);
        const int parent = level > 0 ? joined[level - 1] : -1;
        auto shares = [&](int g) {
            return g >= 0 && m_groups[std::size_t(g)].parent == parent
                && m_groups[std::size_t(g)].identity == identity;
        };
        if (shares(before[level]))
            joined[level] = before[level];
        else if (shares(after[level]))
            joined[level] = after[level];
        else
            break;
    }
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        Group& group = m_groups[g];
        if (std::find(joined.begin(), joined.end(), int(g)) != joined.end()) {
            ++group.end;
        } else if (group.begin >= j) {
            ++group.begin;
            ++group.end;
        }
    }
    if (level == m_grouped.size())
        return;

    // New groups stand before the first group that starts after the row.
    const auto at = std::upper_bound(m_groups.begin(), m_groups.end(), j,
        [](uint32_t i, const Group& g) { return i < g.begin; });
    const int first = int(at - m_groups.begin());
    const int added = int(m_grouped.size() - level);
    for (Group& group : m_groups) {
        if (group.parent >= first)
            group.parent += added;
    }
    std::vector<Group> fresh;
    for (std::size_t l = level; l < m_grouped.size(); ++l) {
        const int parent
            = l == level ? (level > 0 ? joined[level - 1] : -1) : first + int(l - level) - 1;
        // The parent may itself be new, and not yet in m_groups.
        Group group;
        if (l == level) {
            group = newGroup(int(l), parent, j, order(m_grouped[l]).identity(row));
        } else {
            group = fresh.back();
            group.level = int(l);
            group.parent = parent;
            group.identity = order(m_grouped[l]).identity(row);
            group.pathHash = combine(fresh.back().pathHash, group.identity, int(l));
            group.expanded = m_expandedPaths.count(group.pathHash) > 0;
        }
        group.end = j + 1;
        fresh.push_back(group);
    }
    m_groups.insert(m_groups.begin() + first, fresh.begin(), fresh.end());
}

void BandedTableView::afterRowsMoved()
{
    buildGroups();
    buildVisible();
    m_focusKnown = false;
    emit rowsChanged();
    emit focusChanged();
}

// Groups of the sorted data: a new group starts at a level where a row's
// value differs from the row before it.
void BandedTableView::buildGroups()
{
    m_groups.clear();
    const std::size_t levelCount = m_grouped.size();
    if (levelCount == 0)
        return;
    std::vector<ColumnOrder*> orders;
    for (const int column : m_grouped)
        orders.push_back(&order(column));
    std::vector<int> open(levelCount, -1);
    std::vector<uint64_t> previous(levelCount), current(levelCount);
    for (std::size_t i = 0; i < m_data.size(); ++i) {
        for (std::size_t level = 0; level < levelCount; ++level)
            current[level] = orders[level]->identity(m_data[i]);
        std::size_t from = 0;
        if (i > 0) {
            while (from < levelCount && current[from] == previous[from])
                ++from;
        }
        for (std::size_t level = from; level < levelCount; ++level) {
            m_groups.push_back(newGroup(
                int(level), level > 0 ? open[level - 1] : -1, uint32_t(i), current[level]));
            open[level] = int(m_groups.size() - 1);
        }
        for (const int g : open)
            m_groups[std::size_t(g)].end = uint32_t(i + 1);
        previous.swap(current);
    }
}

// The shown rows: each group row, its content when it is expanded, and its
// footer, also under a collapsed group; footers close deepest first.
void BandedTableView::buildVisible()
{
    m_visible.clear();
    if (m_grouped.empty()) {
        m_visible.resize(m_data.size());
        for (std::size_t i = 0; i < m_data.size(); ++i)
            m_visible[i] = uint32_t(i) | dataTag;
        return;
    }
    m_visible.reserve(m_data.size() + 2 * m_groups.size());
    const int innermost = int(m_grouped.size()) - 1;
    std::vector<int> stack; // open groups that are shown
    auto closeUntil = [&](int level) {
        while (!stack.empty() && m_groups[std::size_t(stack.back())].level >= level) {
            m_visible.push_back(uint32_t(stack.back()) | footerTag);
            stack.pop_back();
        }
    };
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        Group& group = m_groups[g];
        closeUntil(group.level);
        const bool shown = group.parent < 0
            || (m_groups[std::size_t(group.parent)].visibleRow >= 0
                && m_groups[std::size_t(group.parent)].expanded);
        group.visibleRow = -1;
        group.firstDataRow = -1;
        if (!shown)
            continue;
        group.visibleRow = int(m_visible.size());
        m_visible.push_back(uint32_t(g) | groupTag);
        stack.push_back(int(g));
        if (group.level == innermost && group.expanded) {
            group.firstDataRow = int(m_visible.size());
            for (uint32_t i = group.begin; i < group.end; ++i)
                m_visible.push_back(i | dataTag);
        }
    }
    closeUntil(0);
}

// --- Rows shown

BandedTableView::Row BandedTableView::row(int index) const
{
    const uint32_t entry = m_visible[std::size_t(index)];
    const uint32_t value = entry & ~tagMask;
    switch (entry & tagMask) {
    case groupTag:
        return {Row::Kind::Group, m_groups[value].level, NoRow, int(value)};
    case footerTag:
        return {Row::Kind::GroupFooter, m_groups[value].level, NoRow, int(value)};
    default:
        return {Row::Kind::Data, int(m_grouped.size()), m_data[value], -1};
    }
}

QString BandedTableView::groupText(int group) const
{
    const Group& g = m_groups[std::size_t(group)];
    const int column = m_grouped[std::size_t(g.level)];
    return QStringLiteral("%1 : %2").arg(
        m_layout.column(column).shownCaption(), cellText(m_data[g.begin], column));
}

QString BandedTableView::cellText(RowId row, int column) const
{
    return m_table.displayText(row, m_layout.column(column).field);
}

QString BandedTableView::footerText(int, int) const
{
    return QString();
}

void BandedTableView::setExpanded(int group, bool expanded)
{
    Group& g = m_groups[std::size_t(group)];
    if (g.expanded == expanded)
        return;
    g.expanded = expanded;
    if (expanded)
        m_expandedPaths.insert(g.pathHash);
    else
        m_expandedPaths.erase(g.pathHash);
    buildVisible();
    m_focusKnown = false;
    emit rowsChanged();
    emit focusChanged();
}

void BandedTableView::expandAll()
{
    bool changed = false;
    for (Group& g : m_groups) {
        changed |= !g.expanded;
        g.expanded = true;
        m_expandedPaths.insert(g.pathHash);
    }
    if (!changed)
        return;
    buildVisible();
    m_focusKnown = false;
    emit rowsChanged();
    emit focusChanged();
}

// --- Focus

int BandedTableView::focusedRow() const
{
    if (m_focusKnown)
        return m_focused;
    m_focusKnown = true;
    m_focused = -1;
    if (m_focusedGroup != 0) {
        for (const Group& g : m_groups) {
            if (g.pathHash == m_focusedGroup && g.visibleRow >= 0)
                return m_focused = g.visibleRow;
        }
    }
    const int index = locate(m_table.currentRow());
    if (index < 0)
        return m_focused;
    if (m_grouped.empty())
        return m_focused = index;
    // The innermost group holding the row, then the outermost one of its
    // groups that hides it.
    const int g = innermostGroupAt(uint32_t(index));
    if (g < 0)
        return m_focused;
    const Group& leaf = m_groups[std::size_t(g)];
    if (leaf.firstDataRow >= 0)
        return m_focused = leaf.firstDataRow + (index - int(leaf.begin));
    int hiding = g;
    for (int up = g; up >= 0; up = m_groups[std::size_t(up)].parent) {
        if (m_groups[std::size_t(up)].visibleRow >= 0) {
            hiding = up;
            break;
        }
    }
    return m_focused = m_groups[std::size_t(hiding)].visibleRow;
}

void BandedTableView::setFocusedRow(int index)
{
    if (index < 0 || index >= rowCount())
        return;
    const Row target = row(index);
    m_focused = index;
    m_focusKnown = true;
    m_focusedGroup
        = target.kind == Row::Kind::Group ? m_groups[std::size_t(target.group)].pathHash : 0;
    if (target.kind == Row::Kind::Data && target.row != m_table.currentRow()) {
        m_movingCursor = true;
        m_table.moveToRow(target.row);
        m_movingCursor = false;
    }
    emit focusChanged();
}

void BandedTableView::onCurrentChanged()
{
    if (m_movingCursor)
        return;
    m_focusedGroup = 0;
    m_focusKnown = false;
    emit focusChanged();
}

// --- Following the table

void BandedTableView::updateOrders(RowId row)
{
    for (const std::unique_ptr<ColumnOrder>& order : m_orders) {
        if (order)
            order->update(row);
    }
}

void BandedTableView::onRowInserted(RowId row)
{
    updateOrders(row);
    if (!passes(row))
        return;
    insertData(row);
    afterOneRowMoved();
}

void BandedTableView::onRowAboutToChange(RowId row)
{
    m_changing = locate(row);
}

void BandedTableView::onRowChanged(RowId row)
{
    const int old = std::exchange(m_changing, -1);
    if (old >= 0)
        removeData(old);
    updateOrders(row);
    const bool shown = passes(row);
    if (shown)
        insertData(row);
    if (old >= 0 || shown)
        afterOneRowMoved();
}

void BandedTableView::onRowAboutToBeRemoved(RowId row)
{
    const int index = locate(row);
    if (index < 0)
        return;
    removeData(index);
    afterOneRowMoved();
}

void BandedTableView::onReset()
{
    for (std::unique_ptr<ColumnOrder>& order : m_orders) {
        if (order)
            order->forget();
    }
    rebuild();
}

// --- Values of a column

QStringList BandedTableView::distinctValues(int column) const
{
    ColumnOrder& columnOrder = order(column);
    columnOrder.learn();
    const int count = m_table.recordCount();
    std::vector<std::pair<uint64_t, RowId>> keyed;
    keyed.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const RowId row = m_table.rowAt(i);
        keyed.push_back({columnOrder.key(row), row});
    }
    std::sort(
        keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList values;
    const Field field = m_layout.column(column).field;
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && keyed[i].first == keyed[i - 1].first)
            continue;
        QString text = m_table.displayText(keyed[i].second, field);
        if (!text.isEmpty())
            values << std::move(text);
    }
    return values;
}

std::size_t BandedTableView::memoryBytes() const
{
    return m_data.capacity() * sizeof(RowId) + m_visible.capacity() * sizeof(uint32_t)
        + m_groups.capacity() * sizeof(Group);
}

std::size_t BandedTableView::learnedOrderBytes() const
{
    std::size_t total = 0;
    for (const std::unique_ptr<ColumnOrder>& order : m_orders) {
        if (order)
            total += order->memoryBytes();
    }
    return total;
}
