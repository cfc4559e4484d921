#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringView>

#include <unordered_map>
#include <vector>

class QPaintDevice;

// Widths and heights of text in one font on one output device, in
// millimetres. A line measures the sum of the advances of its characters
// (fonts of reports have no kerning), which are looked up once each.
class TextMeasurer
{
public:
    TextMeasurer(const QFont& font, const QPaintDevice& device);

    const QFont& font() const { return m_font; }
    // Distance between the tops of two lines, and from a line's top to its
    // baseline.
    double lineHeight() const { return m_lineHeight; }
    double ascent() const { return m_ascent; }

    double width(QStringView text) const;
    double width(QChar c) const;

private:
    double measure(QChar c) const;

    QFont m_font;
    QFontMetricsF m_metrics;
    double m_mmPerPixel;
    double m_lineHeight;
    double m_ascent;
    // Advances of characters up to tableSize, negative until measured; the
    // rest in a map.
    static constexpr int tableSize = 0x2200;
    mutable std::vector<float> m_table;
    mutable std::unordered_map<char16_t, double> m_others;
};
