#include "linebreaker.h"

#include "textmeasurer.h"

namespace {

// A tiny tolerance, so that a line whose width equals the box's is not
// pushed out by the rounding of a sum.
constexpr double epsilon = 1e-9;

} // namespace

std::span<const QStringView> LineBreaker::breakText(
    QStringView text, double boxWidth, bool fitsText, const TextMeasurer& measurer, int maxLines)
{
    m_lines.clear();
    if (text.contains(u'\n')) {
        m_buffer.clear();
        m_buffer.reserve(text.size());
        for (const QChar c : text) {
            if (c != u'\n')
                m_buffer.append(c);
        }
        text = m_buffer;
    }
    if (text.endsWith(u'\r'))
        text.chop(1);
    // An empty text has no line at all; an empty paragraph before a break is
    // an empty line.
    if (text.isEmpty())
        return {};
    qsizetype start = 0;
    while (int(m_lines.size()) < maxLines) {
        const qsizetype end = text.indexOf(u'\r', start);
        const QStringView paragraph = text.sliced(start, (end < 0 ? text.size() : end) - start);
        if (fitsText || paragraph.isEmpty())
            m_lines.push_back(paragraph);
        else
            breakParagraph(paragraph, boxWidth, measurer, maxLines);
        if (end < 0)
            break;
        start = end + 1;
    }
    if (int(m_lines.size()) > maxLines)
        m_lines.resize(std::size_t(maxLines));
    return m_lines;
}

void LineBreaker::breakParagraph(
    QStringView paragraph, double boxWidth, const TextMeasurer& measurer, int maxLines)
{
    qsizetype lineStart = 0;
    qsizetype lineEnd = 0; // the line is [lineStart, lineEnd)
    double lineWidth = 0;
    qsizetype wordStart = 0;
    const qsizetype size = paragraph.size();
    while (wordStart < size && int(m_lines.size()) < maxLines) {
        qsizetype wordEnd = wordStart;
        double wordWidth = 0;
        while (wordEnd < size) {
            const QChar c = paragraph[wordEnd++];
            wordWidth += measurer.width(c);
            if (c == u' ' || c == u'-')
                break;
        }
        if (lineEnd > lineStart && lineWidth + wordWidth <= boxWidth + epsilon) {
            lineEnd = wordEnd;
            lineWidth += wordWidth;
        } else {
            if (lineEnd > lineStart) {
                m_lines.push_back(paragraph.sliced(lineStart, lineEnd - lineStart));
                if (int(m_lines.size()) >= maxLines)
                    return;
            }
            if (wordWidth <= boxWidth + epsilon) {
                lineStart = wordStart;
                lineEnd = wordEnd;
                lineWidth = wordWidth;
            } else {
                // Too wide for any line: the characters that fit, and no more.
                qsizetype cut = wordStart;
                double cutWidth = 0;
                while (cut < wordEnd) {
                    const double w = measurer.width(paragraph[cut]);
                    if (cutWidth + w > boxWidth + epsilon)
                        break;
                    cutWidth += w;
                    ++cut;
                }
                m_lines.push_back(paragraph.sliced(wordStart, cut - wordStart));
                lineStart = lineEnd = wordEnd;
                lineWidth = 0;
            }
        }
        wordStart = wordEnd;
    }
    if (lineEnd > lineStart && int(m_lines.size()) < maxLines)
        m_lines.push_back(paragraph.sliced(lineStart, lineEnd - lineStart));
}

QStringList breakLines(
    QStringView text, double boxWidth, bool fitsText, const TextMeasurer& measurer)
{
    LineBreaker breaker;
    QStringList lines;
    for (const QStringView line : breaker.breakText(text, boxWidth, fitsText, measurer))
        lines << line.toString();
    return lines;
}
