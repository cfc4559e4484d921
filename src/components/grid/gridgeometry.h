#pragma once

#include "gridlayout.h"

#include <QRect>

#include <vector>

// Where the parts of a banded grid stand on screen, for painting and for
// finding what the mouse is on. Horizontal positions: the row indicator at
// the left, then the bands; fixed bands stay put while the others scroll by
// scrollX. Vertical positions: the group-by box, the band headers, the two
// rows of column headers, then the rows.
class GridGeometry
{
public:
    struct Metrics
    {
        int indicatorWidth = 12;
        int groupIndent = 16;
        int groupByBoxHeight = 36;
        int bandHeaderHeight = 18;
        int columnHeaderHeight = 18;
        int lineHeight = 18; // one line of a book; a book has two
        int groupRowHeight = 20;
        int filterButtonWidth = 14;
        int resizeMargin = 3;
    };

    GridGeometry(const GridLayout& layout, Metrics metrics, int scrollX, int viewportWidth);

    const Metrics& metrics() const { return m_metrics; }
    int headerTop() const { return m_metrics.groupByBoxHeight; }
    int columnHeaderTop(int row) const;
    int rowsTop() const;
    int fixedWidth() const { return m_fixedWidth; }
    int contentWidth() const;

    // The on-screen x of a layout position, given whether it lies in a
    // fixed band.
    int screenX(int layoutX, bool fixed) const;
    bool isFixedBand(int band) const { return m_layout.band(band).fixed; }

    QRect bandHeaderRect(int band) const;
    QRect columnHeaderRect(int column) const;
    QRect filterButtonRect(int column) const;
    // The cell of a column in a row whose first line is at top; cells of the
    // first band's first column shift right by the group indent of level.
    QRect cellRect(int column, int top, int level) const;

    struct Hit
    {
        enum class Part {
            Nothing,
            GroupByBox,
            BandHeader,
            BandEdge,
            ColumnHeader,
            ColumnEdge,
            FilterButton,
        };
        Part part = Part::Nothing;
        int band = -1;
        int column = -1;
    };
    // What stands at a point of the header area.
    Hit hitHeader(QPoint point) const;

    // Where a column dropped at a point of the header area would go: band,
    // band row and position; false outside the column headers.
    bool dropPlace(QPoint point, int& band, int& row, int& position) const;

private:
    const GridLayout& m_layout;
    Metrics m_metrics;
    int m_scrollX;
    int m_viewportWidth;
    int m_fixedWidth = 0;
    std::vector<PlacedColumn> m_lines[GridLayout::bandRowCount];
};
