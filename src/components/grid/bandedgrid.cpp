#include "bandedgrid.h"

#include "componenttexts.h"
#include "filterdropdown.h"
#include "gridfilter.h"
#include "gridfilterbar.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int textPadding = 3;

using RowKind = BandedTableView::Row::Kind;

QFontMetrics metricsOf(const GridLook& look)
{
    return QFontMetrics(look.font());
}

void paintTriangle(QPainter& painter, const QRect& box, bool down, const QColor& color)
{
    const QPointF c = QRectF(box).center();
    QPainterPath path;
    if (down) {
        path.moveTo(c.x() - 3.5, c.y() - 2);
        path.lineTo(c.x() + 3.5, c.y() - 2);
        path.lineTo(c.x(), c.y() + 2);
    } else {
        path.moveTo(c.x() - 3.5, c.y() + 2);
        path.lineTo(c.x() + 3.5, c.y() + 2);
        path.lineTo(c.x(), c.y() - 2);
    }
    path.closeSubpath();
    painter.fillPath(path, color);
}

} // namespace

BandedGrid::BandedGrid(BandedTableView& view, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_view(view)
    , m_filterBar(new GridFilterBar(this))
    , m_filter(new GridFilter(*this))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_filterBar->hide();

    connect(&m_view, &BandedTableView::rowsChanged, this, [this] {
        updateScrollBars();
        updateFilterBar();
        viewport()->update();
    });
    connect(&m_view, &BandedTableView::layoutChanged, this, [this] {
        updateScrollBars();
        viewport()->update();
    });
    connect(&m_view, &BandedTableView::focusChanged, this, [this] {
        const int focused = m_view.focusedRow();
        if (focused >= 0 && isVisible())
            ensureShown(focused);
        viewport()->update();
    });
    connect(
        m_filterBar, &GridFilterBar::enabledToggled, &m_view, &BandedTableView::setFilterEnabled);
    connect(
        m_filterBar, &GridFilterBar::customizeClicked, this, &BandedGrid::customizeFilterRequested);
    updateScrollBars();
}

BandedGrid::~BandedGrid() = default;

GridGeometry::Metrics BandedGrid::metrics() const
{
    GridGeometry::Metrics m;
    const GridAppearance& appearance = m_view.appearance();
    int cellHeight = metricsOf(appearance.content).height();
    int headerHeight = metricsOf(appearance.bandHeader).height();
    for (const GridColumn& column : m_view.layout().columns()) {
        cellHeight = std::max(cellHeight, metricsOf(column.contentLook).height());
        headerHeight = std::max(headerHeight, metricsOf(column.headerLook).height());
    }
    m.lineHeight = cellHeight + 4;
    m.bandHeaderHeight = metricsOf(appearance.bandHeader).height() + 6;
    m.columnHeaderHeight = headerHeight + 6;
    m.groupRowHeight = metricsOf(appearance.groupRow).height() + 8;
    m.groupByBoxHeight = metricsOf(appearance.bandHeader).height() * 2 + 14;
    return m;
}

GridGeometry BandedGrid::gridGeometry() const
{
    return GridGeometry(
        m_view.layout(), metrics(), horizontalScrollBar()->value(), viewport()->width());
}

int BandedGrid::firstShownRow() const
{
    return std::min(verticalScrollBar()->value(), std::max(0, m_view.rowCount() - 1));
}

int BandedGrid::rowHeight(int index) const
{
    const GridGeometry::Metrics m = metrics();
    return m_view.row(index).kind == RowKind::Group ? m.groupRowHeight : 2 * m.lineHeight;
}

int BandedGrid::rowsThatFit(int from) const
{
    const int room = viewport()->height() - gridGeometry().rowsTop();
    int used = 0, count = 0;
    for (int i = from; i < m_view.rowCount(); ++i) {
        used += rowHeight(i);
        if (used > room)
            break;
        ++count;
    }
    return std::max(count, 1);
}

// The first row from which the last rows fill the screen.
int BandedGrid::lastFirstRow() const
{
    const int room = viewport()->height() - gridGeometry().rowsTop();
    int used = 0;
    int first = m_view.rowCount();
    while (first > 0 && used + rowHeight(first - 1) <= room) {
        used += rowHeight(first - 1);
        --first;
    }
    return std::min(first, std::max(0, m_view.rowCount() - 1));
}

void BandedGrid::updateScrollBars()
{
    const GridGeometry geometry = gridGeometry();
    verticalScrollBar()->setRange(0, lastFirstRow());
    verticalScrollBar()->setPageStep(rowsThatFit(firstShownRow()));
    verticalScrollBar()->setSingleStep(1);
    const int scrollable = geometry.contentWidth() - viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, scrollable));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width() - geometry.fixedWidth()));
    horizontalScrollBar()->setSingleStep(20);
}

void BandedGrid::updateFilterBar()
{
    if (!m_view.hasFilter()) {
        m_filterBar->hide();
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    m_filterBar->show(m_view.filterText(), m_view.isFilterEnabled());
    const int height = m_filterBar->sizeHint().height();
    setViewportMargins(0, 0, 0, height);
    const QRect area = viewport()->geometry();
    m_filterBar->setGeometry(area.left(), area.bottom() + 1, area.width(), height);
}

void BandedGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateFilterBar();
    updateScrollBars();
}

void BandedGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void BandedGrid::ensureShown(int index)
{
    if (index < firstShownRow()) {
        verticalScrollBar()->setValue(index);
        return;
    }
    int first = firstShownRow();
    while (first < index && index >= first + rowsThatFit(first))
        ++first;
    if (first != firstShownRow())
        verticalScrollBar()->setValue(first);
}

void BandedGrid::focusRow(int index)
{
    if (m_view.rowCount() == 0)
        return;
    index = std::clamp(index, 0, m_view.rowCount() - 1);
    m_view.setFocusedRow(index);
    ensureShown(index);
    viewport()->update();
}

int BandedGrid::rowAt(QPoint point) const
{
    const GridGeometry geometry = gridGeometry();
    if (point.y() < geometry.rowsTop())
        return -1;
    int top = geometry.rowsTop();
    for (int i = firstShownRow(); i < m_view.rowCount(); ++i) {
        const int height = rowHeight(i);
        if (point.y() < top + height)
            return i;
        top += height;
        if (top > viewport()->height())
            break;
    }
    return -1;
}

int BandedGrid::rowTop(int index) const
{
    int top = gridGeometry().rowsTop();
    for (int i = firstShownRow(); i < index; ++i)
        top += rowHeight(i);
    return top;
}

QString BandedGrid::rowText(int index) const
{
    const BandedTableView::Row row = m_view.row(index);
    if (row.kind != RowKind::Data)
        return row.kind == RowKind::Group ? m_view.groupText(row.group) : QString();
    QStringList values;
    for (int line = 0; line < GridLayout::bandRowCount; ++line) {
        for (const PlacedColumn& placed : m_view.layout().headerLine(line))
            values << m_view.cellText(row.row, placed.column);
    }
    return values.join(u'\t');
}

// --- Painting

void BandedGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const GridGeometry geometry = gridGeometry();
    paintRows(painter, geometry);
    paintHeaders(painter, geometry);
    paintGroupByBox(painter, geometry);
}

void BandedGrid::paintCell(QPainter& painter, const QRect& rect, const GridLook& look,
    const QString& text, Qt::Alignment alignment, bool focused) const
{
    const QPalette& colors = palette();
    const bool highlight = focused && hasFocus();
    painter.fillRect(
        rect, highlight ? colors.color(QPalette::Highlight) : look.background.resolve(colors));
    painter.setPen(colors.color(QPalette::Mid));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect.adjusted(0, 0, -1, -1));
    painter.setFont(look.font());
    painter.setPen(highlight ? colors.color(QPalette::HighlightedText) : look.text.resolve(colors));
    const QRect inner = rect.adjusted(textPadding, 0, -textPadding, -1);
    QString shown = text;
    shown.replace(u'\r', u' ').replace(u'\n', u' ');
    painter.drawText(inner, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
    painter.restore();
}

// Paints in two layers: the scrolling bands, clipped to their area, then the
// fixed bands over them.
template<typename PaintBand>
void BandedGrid::forEachBandLayer(
    QPainter& painter, const GridGeometry& geometry, PaintBand paint) const
{
    const int scrollLeft = geometry.metrics().indicatorWidth + geometry.fixedWidth();
    painter.save();
    painter.setClipRect(
        QRect(scrollLeft, 0, viewport()->width() - scrollLeft, viewport()->height()));
    paint(false);
    painter.restore();
    paint(true);
}

void BandedGrid::paintHeaders(QPainter& painter, const GridGeometry& geometry) const
{
    const GridLayout& layout = m_view.layout();
    const GridAppearance& appearance = m_view.appearance();
    forEachBandLayer(painter, geometry, [&](bool fixed) {
        for (const int band : layout.bandOrder()) {
            if (layout.band(band).fixed != fixed)
                continue;
            const GridBand& b = layout.band(band);
            paintCell(painter, geometry.bandHeaderRect(band), appearance.bandHeader, b.caption,
                b.headerAlignment, false);
            // The band's header rows, under columns that are grouped away too.
            painter.fillRect(
                QRect(geometry.bandHeaderRect(band).left(), geometry.columnHeaderTop(0), b.width,
                    geometry.rowsTop() - geometry.columnHeaderTop(0)),
                appearance.bandBackground.background.resolve(palette()));
        }
        for (int row = 0; row < GridLayout::bandRowCount; ++row) {
            for (const PlacedColumn& placed : layout.headerLine(row)) {
                const GridColumn& column = layout.column(placed.column);
                if (layout.band(column.band).fixed != fixed)
                    continue;
                const QRect rect = geometry.columnHeaderRect(placed.column);
                QRect textRect = rect;
                const SortOrder order = m_view.sortOrder(placed.column);
                if (order != SortOrder::None)
                    textRect.setRight(textRect.right() - 12);
                paintCell(painter, textRect.united(QRect(textRect.topLeft(), QSize(1, 1))),
                    column.headerLook, column.shownCaption(), column.headerAlignment, false);
                if (order != SortOrder::None) {
                    const QRect mark(rect.right() - 12 - geometry.metrics().filterButtonWidth,
                        rect.top(), 12, rect.height());
                    paintTriangle(painter, mark, order == SortOrder::Descending,
                        column.headerLook.text.resolve(palette()));
                }
                if (placed.column == m_hoverColumn) {
                    const QRect button = geometry.filterButtonRect(placed.column);
                    painter.fillRect(button, palette().color(QPalette::Button));
                    paintTriangle(painter, button, true, palette().color(QPalette::ButtonText));
                }
            }
        }
    });
    // The corner over the row indicators.
    painter.fillRect(QRect(0, geometry.headerTop(), geometry.metrics().indicatorWidth,
                         geometry.rowsTop() - geometry.headerTop()),
        appearance.indicator.background.resolve(palette()));
}

QRect BandedGrid::groupButtonRect(int index) const
{
    const GridGeometry::Metrics m = metrics();
    const QFontMetrics font = metricsOf(m_view.appearance().bandHeader);
    const int height = font.height() + 6;
    int left = 6;
    for (int k = 0; k < index; ++k) {
        const GridColumn& column = m_view.layout().column(m_view.groupedColumns()[std::size_t(k)]);
        left += font.horizontalAdvance(column.shownCaption()) + 30;
    }
    const GridColumn& column = m_view.layout().column(m_view.groupedColumns()[std::size_t(index)]);
    const int top = 4 + (index % 2) * (m.groupByBoxHeight - height - 8);
    return {left, top, font.horizontalAdvance(column.shownCaption()) + 24, height};
}

// Where a column dropped at a point of the group-by box joins the grouping.
int BandedGrid::groupIndexAt(QPoint point) const
{
    int index = 0;
    while (index < int(m_view.groupedColumns().size())
        && groupButtonRect(index).center().x() < point.x())
        ++index;
    return index;
}

int BandedGrid::groupButtonAt(QPoint point) const
{
    for (int k = 0; k < int(m_view.groupedColumns().size()); ++k) {
        if (groupButtonRect(k).contains(point))
            return k;
    }
    return -1;
}

void BandedGrid::paintGroupByBox(QPainter& painter, const GridGeometry& geometry) const
{
    const QRect box(0, 0, viewport()->width(), geometry.headerTop());
    painter.fillRect(box, palette().color(QPalette::Dark));
    const GridLook& look = m_view.appearance().bandHeader;
    painter.setFont(look.font());
    if (m_view.groupedColumns().empty()) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(box.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
            componentText(u"Drag a column header here to group by that column"));
        return;
    }
    for (int k = 0; k < int(m_view.groupedColumns().size()); ++k) {
        const int column = m_view.groupedColumns()[std::size_t(k)];
        const QRect rect = groupButtonRect(k);
        if (k > 0) {
            const QRect previous = groupButtonRect(k - 1);
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(
                previous.center().x(), previous.bottom(), previous.center().x(), rect.center().y());
            painter.drawLine(
                previous.center().x(), rect.center().y(), rect.left(), rect.center().y());
        }
        paintCell(painter, rect, m_view.layout().column(column).headerLook,
            m_view.layout().column(column).shownCaption(), Qt::AlignLeft, false);
        paintTriangle(painter, QRect(rect.right() - 14, rect.top(), 12, rect.height()),
            m_view.sortOrder(column) == SortOrder::Descending,
            m_view.layout().column(column).headerLook.text.resolve(palette()));
    }
}

QRect BandedGrid::expanderRect(const GridGeometry& geometry, int level, int top) const
{
    const int x = geometry.screenX(level * geometry.metrics().groupIndent, true) + 3;
    return {x, top + (geometry.metrics().groupRowHeight - 11) / 2, 11, 11};
}

void BandedGrid::paintIndicator(QPainter& painter, int top, int height, bool focused) const
{
    const QRect rect(0, top, metrics().indicatorWidth, height);
    painter.fillRect(rect, m_view.appearance().indicator.background.resolve(palette()));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (!focused)
        return;
    const QPointF c = QRectF(rect).center();
    QPainterPath arrow;
    arrow.moveTo(c.x() - 2, c.y() - 4);
    arrow.lineTo(c.x() + 2, c.y());
    arrow.lineTo(c.x() - 2, c.y() + 4);
    arrow.closeSubpath();
    painter.fillPath(arrow, m_view.appearance().indicator.text.resolve(palette()));
}

void BandedGrid::paintRows(QPainter& painter, const GridGeometry& geometry) const
{
    const int count = m_view.rowCount();
    if (count == 0) {
        painter.setPen(palette().color(QPalette::Text));
        painter.setFont(m_view.appearance().content.font());
        painter.drawText(
            QRect(0, geometry.rowsTop(), viewport()->width(), 3 * geometry.metrics().lineHeight),
            Qt::AlignCenter, componentText(u"<No data to display>"));
        return;
    }
    const int focused = m_view.focusedRow();
    int top = geometry.rowsTop();
    for (int i = firstShownRow(); i < count && top < viewport()->height(); ++i) {
        const int height = rowHeight(i);
        switch (m_view.row(i).kind) {
        case RowKind::Data:
            paintDataRow(painter, geometry, i, top, i == focused);
            break;
        case RowKind::Group:
            paintGroupRow(painter, geometry, i, top, i == focused);
            break;
        case RowKind::GroupFooter:
            paintFooterRow(painter, geometry, i, top);
            break;
        }
        paintIndicator(painter, top, height, i == focused);
        top += height;
    }
}

// The two lines of a book or of a group footer: the group indent, then a
// cell under each column header, painted with the given look and text.
template<typename CellOf>
void BandedGrid::paintLines(
    QPainter& painter, const GridGeometry& geometry, int top, int level, CellOf cellOf) const
{
    const GridLayout& layout = m_view.layout();
    forEachBandLayer(painter, geometry, [&](bool fixed) {
        if (fixed && level > 0) {
            painter.fillRect(
                QRect(geometry.screenX(0, true), top, level * geometry.metrics().groupIndent,
                    2 * geometry.metrics().lineHeight),
                m_view.appearance().group(level - 1).background.resolve(palette()));
        }
        for (int line = 0; line < GridLayout::bandRowCount; ++line) {
            for (const PlacedColumn& placed : layout.headerLine(line)) {
                if (layout.band(layout.column(placed.column).band).fixed == fixed)
                    cellOf(placed.column, geometry.cellRect(placed.column, top, level));
            }
        }
    });
}

void BandedGrid::paintDataRow(
    QPainter& painter, const GridGeometry& geometry, int index, int top, bool focused) const
{
    const BandedTableView::Row row = m_view.row(index);
    paintLines(painter, geometry, top, row.level, [&](int column, const QRect& rect) {
        const GridColumn& c = m_view.layout().column(column);
        paintCell(
            painter, rect, c.contentLook, m_view.cellText(row.row, column), c.alignment, focused);
    });
}

void BandedGrid::paintGroupRow(
    QPainter& painter, const GridGeometry& geometry, int index, int top, bool focused) const
{
    const BandedTableView::Row row = m_view.row(index);
    const GridLook& look = m_view.appearance().group(row.level);
    const int left = geometry.screenX(0, true);
    const int indent = row.level * geometry.metrics().groupIndent;
    const QRect rect(
        left + indent, top, viewport()->width() - left - indent, geometry.metrics().groupRowHeight);
    if (row.level > 0) {
        painter.fillRect(QRect(left, top, indent, rect.height()),
            m_view.appearance().group(row.level - 1).background.resolve(palette()));
    }
    paintCell(painter, rect, look, QString(), Qt::AlignLeft, focused);
    const QRect expander = expanderRect(geometry, row.level, top);
    painter.setPen(look.text.resolve(palette()));
    painter.fillRect(expander, palette().color(QPalette::Base));
    painter.drawRect(expander.adjusted(0, 0, -1, -1));
    const QPoint c = expander.center();
    painter.drawLine(c.x() - 2, c.y(), c.x() + 2, c.y());
    if (!m_view.group(row.group).expanded)
        painter.drawLine(c.x(), c.y() - 2, c.x(), c.y() + 2);
    painter.setFont(look.font());
    const bool highlight = focused && hasFocus();
    painter.setPen(
        highlight ? palette().color(QPalette::HighlightedText) : look.text.resolve(palette()));
    painter.drawText(rect.adjusted(expander.width() + 8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
        m_view.groupText(row.group));
}

void BandedGrid::paintFooterRow(
    QPainter& painter, const GridGeometry& geometry, int index, int top) const
{
    const BandedTableView::Row row = m_view.row(index);
    paintLines(painter, geometry, top, row.level, [&](int column, const QRect& rect) {
        const GridColumn& c = m_view.layout().column(column);
        paintCell(painter, rect, c.footerLook, m_view.footerText(row.group, column),
            c.footerAlignment, false);
    });
}

// --- Mouse

void BandedGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const GridGeometry geometry = gridGeometry();
    m_pressPoint = m_dragPoint = point;
    m_dragMoved = false;
    m_drag = Drag::None;

    if (point.y() >= geometry.rowsTop()) {
        const int index = rowAt(point);
        if (index < 0)
            return;
        const BandedTableView::Row row = m_view.row(index);
        const QRect expander
            = expanderRect(geometry, row.level, rowTop(index)).adjusted(-3, -3, 3, 3);
        if (row.kind == RowKind::Group && expander.contains(point))
            m_view.setExpanded(row.group, !m_view.group(row.group).expanded);
        focusRow(std::min(index, m_view.rowCount() - 1));
        return;
    }
    const int button = groupButtonAt(point);
    if (button >= 0) {
        m_drag = Drag::GroupButton;
        m_dragItem = m_view.groupedColumns()[std::size_t(button)];
        return;
    }
    const GridGeometry::Hit hit = geometry.hitHeader(point);
    using Part = GridGeometry::Hit::Part;
    switch (hit.part) {
    case Part::ColumnEdge:
        m_drag = Drag::ResizeColumn;
        m_dragItem = hit.column;
        m_dragStartWidth = geometry.columnHeaderRect(hit.column).width();
        break;
    case Part::BandEdge:
        m_drag = Drag::ResizeBand;
        m_dragItem = hit.band;
        m_dragStartWidth = m_view.layout().band(hit.band).width;
        break;
    case Part::FilterButton:
        openFilterDropDown(hit.column);
        break;
    case Part::ColumnHeader:
        m_drag = Drag::Column;
        m_dragItem = hit.column;
        break;
    case Part::BandHeader:
        m_drag = Drag::Band;
        m_dragItem = hit.band;
        break;
    case Part::GroupByBox:
    case Part::Nothing:
        break;
    }
}

void BandedGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const GridGeometry geometry = gridGeometry();
    if (m_drag == Drag::None) {
        const GridGeometry::Hit hit = geometry.hitHeader(point);
        using Part = GridGeometry::Hit::Part;
        const bool edge = hit.part == Part::ColumnEdge || hit.part == Part::BandEdge;
        viewport()->setCursor(edge ? Qt::SplitHCursor : Qt::ArrowCursor);
        const int hover
            = hit.part == Part::ColumnHeader || hit.part == Part::FilterButton ? hit.column : -1;
        if (hover != m_hoverColumn) {
            m_hoverColumn = hover;
            viewport()->update();
        }
        return;
    }
    m_dragPoint = point;
    if ((point - m_pressPoint).manhattanLength() >= QApplication::startDragDistance())
        m_dragMoved = true;
    if (m_drag == Drag::ResizeColumn) {
        m_view.layout().resizeColumn(m_dragItem, m_dragStartWidth + point.x() - m_pressPoint.x());
        m_view.layoutEdited();
    } else if (m_drag == Drag::ResizeBand) {
        m_view.layout().resizeBand(m_dragItem, m_dragStartWidth + point.x() - m_pressPoint.x());
        m_view.layoutEdited();
    }
}

void BandedGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag != Drag::None)
        finishDrag(event->position().toPoint());
    m_drag = Drag::None;
}

// A header dropped in the group-by box groups by its column; a grouped
// column dropped on the headers leaves the grouping. A header dropped on the
// headers moves there; a click without moving sorts.
void BandedGrid::finishDrag(QPoint point)
{
    const GridGeometry geometry = gridGeometry();
    const bool inBox = point.y() < geometry.headerTop();
    int band = 0, row = 0, position = 0;
    switch (m_drag) {
    case Drag::Column:
        if (!m_dragMoved) {
            m_view.toggleSort(m_dragItem);
        } else if (inBox) {
            m_view.groupBy(m_dragItem, groupIndexAt(point));
        } else if (geometry.dropPlace(point, band, row, position)) {
            m_view.layout().moveColumn(m_dragItem, band, row, position);
            m_view.layoutEdited();
        }
        break;
    case Drag::GroupButton:
        if (!m_dragMoved) {
            m_view.toggleGroupOrder(m_dragItem);
        } else if (inBox) {
            const int index = groupIndexAt(point);
            const auto& grouped = m_view.groupedColumns();
            const int from
                = int(std::find(grouped.begin(), grouped.end(), m_dragItem) - grouped.begin());
            m_view.groupBy(m_dragItem, index > from ? index - 1 : index);
        } else {
            m_view.ungroup(m_dragItem);
            if (geometry.dropPlace(point, band, row, position)) {
                m_view.layout().moveColumn(m_dragItem, band, row, position);
                m_view.layoutEdited();
            }
        }
        break;
    case Drag::Band:
        if (m_dragMoved) {
            const std::vector<int>& order = m_view.layout().bandOrder();
            int to = 0;
            for (const int b : order) {
                if (geometry.bandHeaderRect(b).center().x() < point.x())
                    ++to;
            }
            const int from = int(std::find(order.begin(), order.end(), m_dragItem) - order.begin());
            m_view.layout().moveBand(m_dragItem, to > from ? to - 1 : to);
            m_view.layoutEdited();
        }
        break;
    case Drag::ResizeColumn:
    case Drag::ResizeBand:
    case Drag::None:
        break;
    }
    updateScrollBars();
    viewport()->update();
}

void BandedGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on a book does nothing; on a header it is two clicks.
    if (event->position().y() < gridGeometry().rowsTop())
        mousePressEvent(event);
}

void BandedGrid::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    if (m_hoverColumn >= 0) {
        m_hoverColumn = -1;
        viewport()->update();
    }
}

void BandedGrid::openFilterDropDown(int column)
{
    if (!m_dropDown) {
        m_dropDown = new FilterDropDown(this);
        connect(m_dropDown, &FilterDropDown::picked, this, &BandedGrid::columnFilterPicked);
    }
    const QRect header = gridGeometry().columnHeaderRect(column);
    m_dropDown->open(column, m_view.distinctValues(column),
        QRect(viewport()->mapToGlobal(header.topLeft()), header.size()));
}

// --- Keys

void BandedGrid::keyPressEvent(QKeyEvent* event)
{
    const int focused = m_view.focusedRow();
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Down:
        focusRow(focused + 1);
        break;
    case Qt::Key_Up:
        focusRow(std::max(focused - 1, 0));
        break;
    case Qt::Key_PageDown:
        focusRow(focused + rowsThatFit(firstShownRow()));
        break;
    case Qt::Key_PageUp:
        focusRow(std::max(focused - rowsThatFit(firstShownRow()), 0));
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        focusRow(event->key() == Qt::Key_Home ? 0 : m_view.rowCount() - 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (focused >= 0 && m_view.row(focused).kind == RowKind::Group) {
            m_view.setExpanded(m_view.row(focused).group, event->key() == Qt::Key_Right);
        } else {
            horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left
                    ? QAbstractSlider::SliderSingleStepSub
                    : QAbstractSlider::SliderSingleStepAdd);
        }
        break;
    case Qt::Key_Delete:
        deleteFocusedBook();
        break;
    case Qt::Key_Insert:
        if (control)
            copyFocusedRow();
        break;
    case Qt::Key_C:
        if (control) {
            copyFocusedRow();
            break;
        }
        [[fallthrough]];
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The focused book leaves the catalogue at once, without a question.
void BandedGrid::deleteFocusedBook()
{
    const int focused = m_view.focusedRow();
    if (focused < 0 || m_view.row(focused).kind != RowKind::Data)
        return;
    CatalogueTable& table = m_view.table();
    table.moveToRow(m_view.row(focused).row);
    table.remove();
}

void BandedGrid::copyFocusedRow()
{
    const int focused = m_view.focusedRow();
    if (focused >= 0)
        QGuiApplication::clipboard()->setText(rowText(focused));
}

void BandedGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void BandedGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
