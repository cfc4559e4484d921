#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <vector>

class QColor;
class QPalette;

// A colour as the page states it: red, green and blue, 0-255 each.
struct RgbColour
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    static RgbColour fromColor(const QColor& colour);
    bool operator==(const RgbColour&) const = default;
};

enum class CellAlignment : quint8 { Left, Centre, Right };

struct FontStyles
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontStyles&) const = default;
};

enum class BorderSide { Left, Top, Right, Bottom };

struct CellBorder
{
    int width = 1; // whole pixels
    RgbColour colour;

    bool operator==(const CellBorder&) const = default;
};

// The look of a cell of the page; each distinct look becomes one class of
// the page's style sheet.
struct CellStyle
{
    CellAlignment alignment = CellAlignment::Centre;
    QString fontName;
    FontStyles fontStyle;
    RgbColour fontColour;
    int fontSize = 8; // whole points
    quint8 fontCharset = 0; // the Windows character-set number
    std::array<CellBorder, 4> borders; // in the order of BorderSide
    RgbColour background;

    CellBorder& border(BorderSide side) { return borders[std::size_t(side)]; }
    const CellBorder& border(BorderSide side) const { return borders[std::size_t(side)]; }

    // Equal when every field is equal.
    bool operator==(const CellStyle& other) const;
};

// The starting point of every cell's look: centred, "Tahoma" 8 points, borders
// of width 1, in three system colours (button text for the font, button
// shadow for the borders, window for the background). The colours are taken
// once, when the program starts; until then the application's palette of the
// moment of the first use stands in.
void rememberDefaultCellStyleColours(const QPalette& palette);
CellStyle DefaultCellStyle();

// The distinct looks of one page, in the order they were first registered.
// A look's position is its class number; -1 stands for DefaultCellStyle.
class StyleRegistry
{
public:
    static constexpr int defaultStyle = -1;

    // The number of the first registered look equal to style; a look not yet
    // registered is appended.
    int registerStyle(const CellStyle& style);
    // Throws std::out_of_range for a number that is neither -1 nor registered.
    CellStyle style(int number) const;
    int count() const { return int(m_styles.size()); }
    const std::vector<CellStyle>& styles() const { return m_styles; }

private:
    std::vector<CellStyle> m_styles;
};
