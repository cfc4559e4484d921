#pragma once

#include <QPointF>

class PageStore;
class QPainter;

// Draws the pages of a store on any paint device: the preview's view, a
// printer, a PDF file, an image. Lengths of the page are scaled to device
// pixels; fonts keep their size in points relative to the page, lines their
// thickness in device pixels.
class PageRenderer
{
public:
    explicit PageRenderer(const PageStore& pages)
        : m_pages(pages)
    { }

    // Draws a page with the paper's top-left corner at origin, at the given
    // device pixels per millimetre. The paper itself is not filled.
    void render(QPainter& painter, int page, QPointF origin, double pixelsPerMm) const;

    // Draws a page at the natural size of the painter's device, the paper's
    // corner at the device's origin: for printers (full page) and images.
    void renderActualSize(QPainter& painter, int page) const;

private:
    const PageStore& m_pages;
};
