#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

#include <optional>

// A colour as the grid's styles name it: a fixed colour, or a colour of the
// desktop scheme, read from the palette at the moment of use.
struct LookColor
{
    std::optional<QPalette::ColorRole> role;
    QColor fixed;

    static LookColor ofRole(QPalette::ColorRole role) { return {role, {}}; }
    static LookColor ofRgb(int r, int g, int b) { return {std::nullopt, QColor(r, g, b)}; }
    QColor resolve(const QPalette& palette) const { return role ? palette.color(*role) : fixed; }
    bool operator==(const LookColor& other) const = default;
};

// What the grid paints a kind of cell with: background, text colour, font.
// The font keeps the name it was designed with; the system serves it with a
// substitute where it has no such font.
struct GridLook
{
    QString name;
    LookColor background;
    LookColor text;
    QString fontFamily;
    int pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;

    QFont font() const
    {
        QFont f(fontFamily);
        f.setPointSize(pointSize);
        f.setBold(bold);
        f.setItalic(italic);
        f.setUnderline(underline);
        f.setStrikeOut(strikeOut);
        return f;
    }
    bool operator==(const GridLook& other) const = default;
};

// The looks of the parts of a grid that are not a column's: band headers and
// backgrounds, the content, group rows by level, group footers and the row
// indicator. The defaults are the grid's own appearance, from the desktop
// scheme and the grid's font.
struct GridAppearance
{
    GridLook bandHeader;
    GridLook bandBackground;
    GridLook content;
    GridLook groupRow;
    GridLook footer;
    GridLook indicator;

    static GridAppearance standard();
    // The look of the group rows of a level.
    const GridLook& group(int level) const
    {
        Q_UNUSED(level);
        return groupRow;
    }
};
