#include "previewicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

constexpr int side = 24;
const QColor ink(40, 40, 40);
const QColor paper(255, 255, 255);
const QColor accent(30, 100, 190);

// A sheet of paper with a folded corner.
void drawSheet(QPainter& p, QRectF r)
{
    QPainterPath path;
    const double fold = r.width() / 3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void drawMagnifier(QPainter& p)
{
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21.5, 21.5));
    p.setPen(QPen(ink, 1.6));
    p.setBrush(QColor(235, 243, 252));
    p.drawEllipse(QPointF(10, 10), 7, 7);
}

void drawTriangle(QPainter& p, double tipX, double baseX)
{
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawPolygon(QPolygonF({QPointF(tipX, 12), QPointF(baseX, 5), QPointF(baseX, 19)}));
}

void drawBar(QPainter& p, double x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRect(QRectF(x, 5, 2.5, 14));
}

void drawPrinter(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(QRectF(7.5, 3.5, 9, 7));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);
    p.setBrush(paper);
    p.drawRect(QRectF(6.5, 14.5, 11, 6));
    p.setPen(QPen(ink, 0.8));
    p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 60));
    p.drawEllipse(QPointF(18.5, 12), 1, 1);
}

void drawIcon(QPainter& p, PreviewIcon which)
{
    switch (which) {
    case PreviewIcon::ZoomToFit:
        drawMagnifier(p);
        p.setPen(QPen(ink, 1));
        p.setBrush(paper);
        p.drawRect(QRectF(7.5, 6.5, 5, 7));
        break;
    case PreviewIcon::Zoom100: {
        drawMagnifier(p);
        QFont font;
        font.setPixelSize(7);
        font.setBold(true);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(3, 3, 14, 14), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    case PreviewIcon::ZoomToWidth:
        drawMagnifier(p);
        p.setPen(QPen(accent, 1.4));
        p.drawLine(QPointF(5.5, 10), QPointF(14.5, 10));
        p.setBrush(accent);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(4.5, 10), QPointF(7.5, 7.5), QPointF(7.5, 12.5)}));
        p.drawPolygon(QPolygonF({QPointF(15.5, 10), QPointF(12.5, 7.5), QPointF(12.5, 12.5)}));
        break;
    case PreviewIcon::FirstPage:
        drawBar(p, 5);
        drawTriangle(p, 8, 18);
        break;
    case PreviewIcon::PreviousPage:
        drawTriangle(p, 7, 16);
        break;
    case PreviewIcon::NextPage:
        drawTriangle(p, 17, 8);
        break;
    case PreviewIcon::LastPage:
        drawTriangle(p, 16, 6);
        drawBar(p, 16.5);
        break;
    case PreviewIcon::PrinterSetup:
        drawPrinter(p);
        p.setPen(QPen(accent, 1.2));
        p.setBrush(QColor(255, 230, 150));
        p.drawEllipse(QPointF(18, 18), 4, 4);
        p.setPen(QPen(ink, 1.2));
        p.drawLine(QPointF(16, 18), QPointF(20, 18));
        p.drawLine(QPointF(18, 16), QPointF(18, 20));
        break;
    case PreviewIcon::Print:
        drawPrinter(p);
        break;
    case PreviewIcon::Save:
        p.setPen(QPen(ink, 1));
        p.setBrush(accent);
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
        p.setBrush(paper);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(200, 200, 205));
        p.drawRect(QRectF(7.5, 13.5, 9, 7));
        break;
    case PreviewIcon::Load:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({QPointF(2.5, 6.5), QPointF(9, 6.5), QPointF(11, 8.5),
            QPointF(20.5, 8.5), QPointF(20.5, 19.5), QPointF(2.5, 19.5)}));
        drawSheet(p, QRectF(6.5, 4.5, 10, 10));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF(
            {QPointF(2.5, 19.5), QPointF(5.5, 11.5), QPointF(22.5, 11.5), QPointF(20.5, 19.5)}));
        break;
    }
}

} // namespace

QIcon previewIcon(PreviewIcon which)
{
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(side * scale, side * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        drawIcon(painter, which);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
