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
