#include "previewpageview.h"

#include "pagerenderer.h"
#include "pagestore.h"

#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace {

// Space between the paper and the edges of the view, in pixels.
constexpr int desk = 12;

} // namespace

PreviewPageView::PreviewPageView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PreviewPageView::setPages(const PageStore* pages)
{
    m_pages = pages;
    refresh();
}

void PreviewPageView::setPage(int page)
{
    if (page == m_page)
        return;
    m_page = page;
    verticalScrollBar()->setValue(0);
    refresh();
}

void PreviewPageView::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    refresh();
}

void PreviewPageView::refresh()
{
    updateScrollBars();
    viewport()->update();
}

double PreviewPageView::paperWidthMm() const
{
    return m_pages ? m_pages->paperWidth() / 100.0 : 210.0;
}

double PreviewPageView::paperLengthMm() const
{
    return m_pages ? m_pages->paperLength() / 100.0 : 297.0;
}

double PreviewPageView::pixelsPerMm() const
{
    const QSize area = viewport()->size() - QSize(2 * desk, 2 * desk);
    const double toWidth = std::max(1, area.width()) / paperWidthMm();
    switch (m_zoom) {
    case Zoom::Fit:
        return std::min(toWidth, std::max(1, area.height()) / paperLengthMm());
    case Zoom::Actual:
        return logicalDpiX() / 25.4;
    case Zoom::Width:
        break;
    }
    return toWidth;
}

QRect PreviewPageView::paperRect() const
{
    const double scale = pixelsPerMm();
    const int width = int(std::lround(paperWidthMm() * scale));
    const int height = int(std::lround(paperLengthMm() * scale));
    const int x
        = std::max(desk, (viewport()->width() - width) / 2) - horizontalScrollBar()->value();
    const int y = desk - verticalScrollBar()->value();
    return QRect(x, y, width, height);
}

void PreviewPageView::updateScrollBars()
{
    const double scale = pixelsPerMm();
    const int width = int(std::lround(paperWidthMm() * scale)) + 2 * desk;
    const int height = int(std::lround(paperLengthMm() * scale)) + 2 * desk;
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, width - area.width()));
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, height - area.height()));
    verticalScrollBar()->setPageStep(area.height());
    verticalScrollBar()->setSingleStep(20);
}

void PreviewPageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PreviewPageView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void PreviewPageView::paintEvent(QPaintEvent*)
{
    if (!m_pages || !m_pages->isAvailable(m_page))
        return;
    QPainter painter(viewport());
    const QRect paper = paperRect();
    painter.fillRect(paper.translated(3, 3), palette().color(QPalette::Shadow));
    painter.fillRect(paper, Qt::white);
    painter.setClipRect(paper);
    PageRenderer(*m_pages).render(painter, m_page, paper.topLeft(), pixelsPerMm());
}
