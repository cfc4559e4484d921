#include "reporttemplate.h"

#include <QGuiApplication>
#include <QPalette>

#include <cmath>

int tenthsOfMm(double mm)
{
    return int(std::lround(mm * 10));
}

int hundredthsOfMm(double mm)
{
    return int(std::lround(mm * 100));
}

QFont ReportFont::toQFont() const
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setKerning(false);
    return font;
}

QColor ReportColour::resolve() const
{
    return m_colour ? *m_colour : QGuiApplication::palette().color(QPalette::Text);
}

int PageSetup::pageWidth() const
{
    return orientation == QPageLayout::Portrait ? paperWidth : paperLength;
}

int PageSetup::pageLength() const
{
    return orientation == QPageLayout::Portrait ? paperLength : paperWidth;
}
