#include "cellstyle.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <optional>
#include <stdexcept>

RgbColour RgbColour::fromColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return {quint8(rgb.red()), quint8(rgb.green()), quint8(rgb.blue())};
}

bool CellStyle::operator==(const CellStyle& other) const
{
    // The cheap fields first: registering compares many looks that differ only
    // in a border.
    return borders == other.borders && alignment == other.alignment
        && background == other.background && fontColour == other.fontColour
        && fontSize == other.fontSize && fontCharset == other.fontCharset
        && fontStyle == other.fontStyle && fontName == other.fontName;
}

namespace {

struct SystemColours
{
    RgbColour buttonText;
    RgbColour buttonShadow;
    RgbColour window;
};

std::optional<SystemColours>& rememberedColours()
{
    static std::optional<SystemColours> colours;
    return colours;
}

SystemColours coloursOf(const QPalette& palette)
{
    return {RgbColour::fromColor(palette.color(QPalette::Active, QPalette::ButtonText)),
        RgbColour::fromColor(palette.color(QPalette::Active, QPalette::Dark)),
        RgbColour::fromColor(palette.color(QPalette::Active, QPalette::Base))};
}

} // namespace

void rememberDefaultCellStyleColours(const QPalette& palette)
{
    rememberedColours() = coloursOf(palette);
}

CellStyle DefaultCellStyle()
{
    auto& colours = rememberedColours();
    if (!colours)
        colours = coloursOf(QGuiApplication::instance() ? QGuiApplication::palette() : QPalette());

    CellStyle style;
    style.alignment = CellAlignment::Centre;
    style.fontName = QStringLiteral("Tahoma");
    style.fontSize = 8;
    style.fontCharset = 0;
    style.fontColour = colours->buttonText;
    for (CellBorder& border : style.borders)
        border = {1, colours->buttonShadow};
    style.background = colours->window;
    return style;
}

int StyleRegistry::registerStyle(const CellStyle& style)
{
    for (std::size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i] == style)
            return int(i);
    }
    m_styles.push_back(style);
    return int(m_styles.size() - 1);
}

CellStyle StyleRegistry::style(int number) const
{
    if (number == defaultStyle)
        return DefaultCellStyle();
    if (number < 0 || number >= count())
        throw std::out_of_range("style number not registered");
    return m_styles[std::size_t(number)];
}
