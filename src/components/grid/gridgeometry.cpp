#include "gridgeometry.h"

#include <cstdlib>

GridGeometry::GridGeometry(
    const GridLayout& layout, Metrics metrics, int scrollX, int viewportWidth)
    : m_layout(layout)
    , m_metrics(metrics)
    , m_scrollX(scrollX)
    , m_viewportWidth(viewportWidth)
{
    for (const int band : layout.bandOrder()) {
        if (layout.band(band).fixed)
            m_fixedWidth += layout.band(band).width;
    }
    for (int row = 0; row < GridLayout::bandRowCount; ++row)
        m_lines[row] = layout.headerLine(row);
}

int GridGeometry::columnHeaderTop(int row) const
{
    return headerTop() + m_metrics.bandHeaderHeight + row * m_metrics.columnHeaderHeight;
}

int GridGeometry::rowsTop() const
{
    return columnHeaderTop(GridLayout::bandRowCount);
}

int GridGeometry::contentWidth() const
{
    return m_metrics.indicatorWidth + m_layout.totalWidth();
}

int GridGeometry::screenX(int layoutX, bool fixed) const
{
    return m_metrics.indicatorWidth + layoutX - (fixed ? 0 : m_scrollX);
}

QRect GridGeometry::bandHeaderRect(int band) const
{
    const int x = screenX(m_layout.bandLeft(band), isFixedBand(band));
    return {x, headerTop(), m_layout.band(band).width, m_metrics.bandHeaderHeight};
}

QRect GridGeometry::columnHeaderRect(int column) const
{
    for (int row = 0; row < GridLayout::bandRowCount; ++row) {
        for (const PlacedColumn& placed : m_lines[row]) {
            if (placed.column == column) {
                const bool fixed = isFixedBand(m_layout.column(column).band);
                return {screenX(placed.left, fixed), columnHeaderTop(row), placed.width,
                    m_metrics.columnHeaderHeight};
            }
        }
    }
    return {};
}

QRect GridGeometry::filterButtonRect(int column) const
{
    const QRect header = columnHeaderRect(column);
    if (header.isEmpty())
        return {};
    const int width = std::min(m_metrics.filterButtonWidth, header.width() / 2);
    return {header.right() - width + 1, header.top() + 1, width, header.height() - 2};
}

QRect GridGeometry::cellRect(int column, int top, int level) const
{
    for (int row = 0; row < GridLayout::bandRowCount; ++row) {
        const std::vector<PlacedColumn>& line = m_lines[row];
        for (std::size_t k = 0; k < line.size(); ++k) {
            if (line[k].column != column)
                continue;
            const bool fixed = isFixedBand(m_layout.column(column).band);
            int left = line[k].left;
            int width = line[k].width;
            // The first cell of a line gives way to the group indent.
            if (k == 0 && level > 0) {
                const int indent = std::min(level * m_metrics.groupIndent, width);
                left += indent;
                width -= indent;
            }
            return {screenX(left, fixed), top + row * m_metrics.lineHeight, width,
                m_metrics.lineHeight};
        }
    }
    return {};
}

GridGeometry::Hit GridGeometry::hitHeader(QPoint point) const
{
    Hit hit;
    if (point.y() < headerTop()) {
        hit.part = Hit::Part::GroupByBox;
        return hit;
    }
    if (point.y() >= rowsTop())
        return hit;
    const bool inFixed = point.x() < m_metrics.indicatorWidth + m_fixedWidth;
    if (point.y() < columnHeaderTop(0)) {
        for (const int band : m_layout.bandOrder()) {
            if (isFixedBand(band) != inFixed)
                continue;
            const QRect rect = bandHeaderRect(band);
            if (std::abs(point.x() - (rect.right() + 1)) <= m_metrics.resizeMargin)
                return {Hit::Part::BandEdge, band, -1};
            if (rect.contains(point))
                return {Hit::Part::BandHeader, band, -1};
        }
        return hit;
    }
    const int row = (point.y() - columnHeaderTop(0)) / m_metrics.columnHeaderHeight;
    for (const PlacedColumn& placed : m_lines[std::min(row, GridLayout::bandRowCount - 1)]) {
        const GridColumn& column = m_layout.column(placed.column);
        if (isFixedBand(column.band) != inFixed)
            continue;
        const QRect rect = columnHeaderRect(placed.column);
        if (std::abs(point.x() - (rect.right() + 1)) <= m_metrics.resizeMargin)
            return {Hit::Part::ColumnEdge, column.band, placed.column};
        if (filterButtonRect(placed.column).contains(point))
            return {Hit::Part::FilterButton, column.band, placed.column};
        if (rect.contains(point))
            return {Hit::Part::ColumnHeader, column.band, placed.column};
    }
    return hit;
}

bool GridGeometry::dropPlace(QPoint point, int& band, int& row, int& position) const
{
    if (point.y() < columnHeaderTop(0) || point.y() >= rowsTop())
        return false;
    row = std::min((point.y() - columnHeaderTop(0)) / m_metrics.columnHeaderHeight,
        GridLayout::bandRowCount - 1);
    const bool inFixed = point.x() < m_metrics.indicatorWidth + m_fixedWidth;
    for (const int b : m_layout.bandOrder()) {
        if (isFixedBand(b) != inFixed)
            continue;
        const QRect rect = bandHeaderRect(b);
        if (point.x() < rect.left() || point.x() > rect.right())
            continue;
        band = b;
        // Before the first column whose middle lies right of the point.
        position = 0;
        for (const int c : m_layout.rowColumns(b, row)) {
            const QRect header = columnHeaderRect(c);
            if (point.x() < header.center().x())
                return true;
            position = m_layout.column(c).position + 1;
        }
        return true;
    }
    return false;
}
