#include "pagerenderer.h"

#include "pagestore.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <vector>

void PageRenderer::render(QPainter& painter, int page, QPointF origin, double pixelsPerMm) const
{
    const PageContent content = m_pages.content(page);
    const std::vector<ElementStyle>& styles = m_pages.styles();
    const QPaintDevice* device = painter.device();
    const double deviceDpi = device ? device->logicalDpiY() : 96.0;
    const double scale = pixelsPerMm / 100.0; // device pixels per hundredth of a millimetre

    // Fonts scaled so that their size relative to the page is the same on
    // every device: a size in points means points of the paper.
    std::vector<std::optional<QFont>> fonts(styles.size());
    auto fontOf = [&](int style) -> const QFont& {
        auto& font = fonts[std::size_t(style)];
        if (!font) {
            font = styles[std::size_t(style)].font;
            font->setPointSizeF(font->pointSizeF() * pixelsPerMm * 25.4 / deviceDpi);
        }
        return *font;
    };
    auto rectOf = [&](const PageBox& box) {
        return QRectF(origin.x() + box.left * scale, origin.y() + box.top * scale,
            box.width * scale, box.height * scale);
    };

    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PlacedElement& element : content.elements) {
        const ElementStyle& style = styles[std::size_t(element.style)];
        const QRectF rect = rectOf(element.box);
        switch (style.kind) {
        case ElementKind::Band:
            painter.fillRect(rect, style.colour);
            break;
        case ElementKind::Line: {
            QPen pen(style.colour);
            pen.setWidth(style.lineWidth);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            const double y = rect.top() + rect.height() / 2;
            painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
            break;
        }
        case ElementKind::Text: {
            if (style.opaque)
                painter.fillRect(rect, Qt::white);
            if (element.lines.isEmpty())
                break;
            const QFont& font = fontOf(element.style);
            painter.setFont(font);
            painter.setPen(style.colour);
            const QFontMetricsF metrics(font, device);
            const double lineHeight = style.lineHeight * pixelsPerMm;
            double baseline = rect.top() + style.ascent * pixelsPerMm;
            for (const QString& line : element.lines) {
                double x = rect.left();
                if (style.alignment != ReportAlignment::Left) {
                    const double spare = rect.width() - metrics.horizontalAdvance(line);
                    x += style.alignment == ReportAlignment::Centre ? spare / 2 : spare;
                }
                painter.drawText(QPointF(x, baseline), line);
                baseline += lineHeight;
            }
            break;
        }
        }
    }
    painter.restore();
}

void PageRenderer::renderActualSize(QPainter& painter, int page) const
{
    const QPaintDevice* device = painter.device();
    const double pixelsPerMm = (device ? device->logicalDpiX() : 96.0) / 25.4;
    render(painter, page, QPointF(0, 0), pixelsPerMm);
}
