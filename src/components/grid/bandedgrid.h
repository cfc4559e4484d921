#pragma once

#include "bandedtableview.h"
#include "gridgeometry.h"

#include <QAbstractScrollArea>
#include <QPoint>

class FilterDropDown;
class GridFilter;
class GridFilterBar;

// What the user picked in a column's filter drop-down.
struct ColumnFilterPick
{
    enum class Kind { All, Custom, Blanks, NonBlanks, Value };
    Kind kind = Kind::All;
    QString value;
};

// The banded grid: paints what its view state shows, only the rows on
// screen, and turns the user's mouse and keys into changes of the view (sort,
// group, expand, move and resize columns and bands, focus) or of the table
// (Delete removes the focused book at once).
class BandedGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit BandedGrid(BandedTableView& view, QWidget* parent = nullptr);
    ~BandedGrid() override;

    BandedTableView& view() const { return m_view; }
    GridGeometry gridGeometry() const;
    int firstShownRow() const;
    // The height of a shown row on screen.
    int rowHeight(int index) const;
    // The shown row at a point of the viewport, -1 for none, and where a
    // shown row starts.
    int rowAt(QPoint point) const;
    int rowTop(int index) const;

    // The text of a shown data row as it is copied: its values, TAB between
    // them, in the order of the columns.
    QString rowText(int index) const;

    // Opens the filter drop-down of a column, as its button does.
    void openFilterDropDown(int column);
    GridFilterBar* filterBar() const { return m_filterBar; }
    // The grid's filter, which its drop-downs, dialogs and filter bar edit.
    GridFilter& filter() const { return *m_filter; }

signals:
    void columnFilterPicked(int column, const ColumnFilterPick& pick);
    // "Customize..." on the filter bar.
    void customizeFilterRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { None, Column, Band, ResizeColumn, ResizeBand, GroupButton };

    GridGeometry::Metrics metrics() const;
    void updateScrollBars();
    void updateFilterBar();
    void ensureShown(int index);
    void focusRow(int index);
    int rowsThatFit(int from) const;
    int lastFirstRow() const;

    void paintGroupByBox(QPainter& painter, const GridGeometry& geometry) const;
    void paintHeaders(QPainter& painter, const GridGeometry& geometry) const;
    void paintRows(QPainter& painter, const GridGeometry& geometry) const;
    void paintDataRow(
        QPainter& painter, const GridGeometry& geometry, int index, int top, bool focused) const;
    void paintGroupRow(
        QPainter& painter, const GridGeometry& geometry, int index, int top, bool focused) const;
    void paintFooterRow(QPainter& painter, const GridGeometry& geometry, int index, int top) const;
    void paintIndicator(QPainter& painter, int top, int height, bool focused) const;
    void paintCell(QPainter& painter, const QRect& rect, const GridLook& look, const QString& text,
        Qt::Alignment alignment, bool focused) const;
    template<typename PaintBand>
    void forEachBandLayer(QPainter& painter, const GridGeometry& geometry, PaintBand paint) const;
    template<typename CellOf>
    void paintLines(
        QPainter& painter, const GridGeometry& geometry, int top, int level, CellOf cellOf) const;

    QRect groupButtonRect(int index) const;
    int groupButtonAt(QPoint point) const;
    int groupIndexAt(QPoint point) const;
    QRect expanderRect(const GridGeometry& geometry, int level, int top) const;
    void finishDrag(QPoint point);
    void deleteFocusedBook();
    void copyFocusedRow();

    BandedTableView& m_view;
    GridFilterBar* m_filterBar;
    GridFilter* m_filter;
    FilterDropDown* m_dropDown = nullptr;

    Drag m_drag = Drag::None;
    QPoint m_pressPoint;
    QPoint m_dragPoint;
    int m_dragItem = -1; // column or band
    int m_dragStartWidth = 0;
    bool m_dragMoved = false;
    int m_hoverColumn = -1;
};
