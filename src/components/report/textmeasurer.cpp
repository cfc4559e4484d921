#include "textmeasurer.h"

#include <QPaintDevice>

TextMeasurer::TextMeasurer(const QFont& font, const QPaintDevice& device)
    : m_font(font)
    , m_metrics(font, &device)
    , m_mmPerPixel(25.4 / device.logicalDpiX())
    , m_lineHeight(m_metrics.height() * 25.4 / device.logicalDpiY())
    , m_ascent(m_metrics.ascent() * 25.4 / device.logicalDpiY())
    , m_table(tableSize, -1.0f)
{ }

double TextMeasurer::measure(QChar c) const
{
    return m_metrics.horizontalAdvance(c) * m_mmPerPixel;
}

double TextMeasurer::width(QChar c) const
{
    const char16_t code = c.unicode();
    if (code < tableSize) {
        float& cached = m_table[code];
        if (cached < 0)
            cached = float(measure(c));
        return cached;
    }
    auto it = m_others.find(code);
    if (it == m_others.end())
        it = m_others.emplace(code, measure(c)).first;
    return it->second;
}

double TextMeasurer::width(QStringView text) const
{
    double sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            sum += m_metrics.horizontalAdvance(text.mid(i, 2).toString()) * m_mmPerPixel;
            ++i;
        } else {
            sum += width(c);
        }
    }
    return sum;
}
