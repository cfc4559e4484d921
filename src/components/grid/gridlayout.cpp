#include "gridlayout.h"

#include <algorithm>
#include <cmath>

int GridLayout::addBand(GridBand band)
{
    m_bands.push_back(std::move(band));
    const int index = int(m_bands.size() - 1);
    // Fixed bands stay before the others.
    auto at = m_bandOrder.end();
    if (m_bands.back().fixed) {
        at = std::find_if(m_bandOrder.begin(), m_bandOrder.end(),
            [this](int b) { return !m_bands[std::size_t(b)].fixed; });
    }
    m_bandOrder.insert(at, index);
    return index;
}

int GridLayout::addColumn(GridColumn column)
{
    m_columns.push_back(std::move(column));
    m_grouped.push_back(false);
    return int(m_columns.size() - 1);
}

int GridLayout::columnOf(Field field) const
{
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].field == field)
            return int(i);
    }
    return -1;
}

int GridLayout::bandLeft(int band) const
{
    int left = 0;
    for (const int b : m_bandOrder) {
        if (b == band)
            return left;
        left += m_bands[std::size_t(b)].width;
    }
    return left;
}

int GridLayout::totalWidth() const
{
    int total = 0;
    for (const GridBand& band : m_bands)
        total += band.width;
    return total;
}

std::vector<int> GridLayout::rowColumns(int band, int row) const
{
    std::vector<int> columns;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const GridColumn& c = m_columns[i];
        if (c.band == band && c.row == row && c.visible && !m_grouped[i])
            columns.push_back(int(i));
    }
    std::stable_sort(columns.begin(), columns.end(), [this](int a, int b) {
        return m_columns[std::size_t(a)].position < m_columns[std::size_t(b)].position;
    });
    return columns;
}

std::vector<int> GridLayout::rowWidths(int band, int row) const
{
    const std::vector<int> columns = rowColumns(band, row);
    std::vector<int> widths(columns.size());
    if (columns.empty())
        return widths;
    double designed = 0;
    for (const int c : columns)
        designed += m_columns[std::size_t(c)].width;
    const int bandWidth = m_bands[std::size_t(band)].width;
    int used = 0;
    for (std::size_t k = 0; k + 1 < columns.size(); ++k) {
        const double share = m_columns[std::size_t(columns[k])].width * bandWidth / designed;
        widths[k] = int(std::floor(share + 0.5));
        used += widths[k];
    }
    widths.back() = bandWidth - used;
    return widths;
}

std::vector<PlacedColumn> GridLayout::headerLine(int row) const
{
    std::vector<PlacedColumn> line;
    for (const int band : m_bandOrder) {
        int left = bandLeft(band);
        const std::vector<int> columns = rowColumns(band, row);
        const std::vector<int> widths = rowWidths(band, row);
        for (std::size_t k = 0; k < columns.size(); ++k) {
            line.push_back({columns[k], left, widths[k]});
            left += widths[k];
        }
    }
    return line;
}

void GridLayout::setGrouped(int column, bool grouped)
{
    m_grouped[std::size_t(column)] = grouped;
}

void GridLayout::renumber(int band, int row)
{
    std::vector<int> members;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].band == band && m_columns[i].row == row)
            members.push_back(int(i));
    }
    std::stable_sort(members.begin(), members.end(), [this](int a, int b) {
        return m_columns[std::size_t(a)].position < m_columns[std::size_t(b)].position;
    });
    for (std::size_t k = 0; k < members.size(); ++k)
        m_columns[std::size_t(members[k])].position = int(k);
}

void GridLayout::moveColumn(int column, int band, int row, int position)
{
    GridColumn& moved = m_columns[std::size_t(column)];
    const int fromBand = moved.band, fromRow = moved.row;
    moved.position = -1; // out of its row while the others close up
    moved.band = -1;
    renumber(fromBand, fromRow);
    for (GridColumn& c : m_columns) {
        if (c.band == band && c.row == row && c.position >= position)
            ++c.position;
    }
    moved.band = band;
    moved.row = row;
    moved.position = position;
    renumber(band, row);
}

void GridLayout::resizeColumn(int column, int width)
{
    GridColumn& resized = m_columns[std::size_t(column)];
    const std::vector<int> columns = rowColumns(resized.band, resized.row);
    const std::vector<int> widths = rowWidths(resized.band, resized.row);
    const auto at = std::find(columns.begin(), columns.end(), column);
    if (at == columns.end())
        return;
    const auto k = std::size_t(at - columns.begin());
    width = std::max(width, minimumWidth);
    // The row is set to the widths it shows, so that the others keep theirs.
    for (std::size_t i = 0; i < columns.size(); ++i)
        m_columns[std::size_t(columns[i])].width = widths[i];
    if (k + 1 == columns.size()) {
        m_bands[std::size_t(resized.band)].width += width - widths[k];
        resized.width = width;
        return;
    }
    GridColumn& next = m_columns[std::size_t(columns[k + 1])];
    const int delta = std::min(width - widths[k], next.width - minimumWidth);
    resized.width = widths[k] + delta;
    next.width -= delta;
}

void GridLayout::resizeBand(int band, int width)
{
    m_bands[std::size_t(band)].width = std::max(width, minimumWidth);
}

void GridLayout::moveBand(int band, int toIndex)
{
    const auto from = std::find(m_bandOrder.begin(), m_bandOrder.end(), band);
    if (from == m_bandOrder.end())
        return;
    m_bandOrder.erase(from);
    const bool fixed = m_bands[std::size_t(band)].fixed;
    const int fixedCount = int(std::count_if(m_bandOrder.begin(), m_bandOrder.end(),
        [this](int b) { return m_bands[std::size_t(b)].fixed; }));
    // A band stays among the bands of its kind.
    const int first = fixed ? 0 : fixedCount;
    const int last = fixed ? fixedCount : int(m_bandOrder.size());
    toIndex = std::clamp(toIndex, first, last);
    m_bandOrder.insert(m_bandOrder.begin() + toIndex, band);
}
