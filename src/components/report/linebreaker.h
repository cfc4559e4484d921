#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <climits>
#include <span>
#include <vector>

class TextMeasurer;

// Breaks the text of a report item into the lines it shows:
// - the text is split at carriage returns into paragraphs, and line feeds are
//   dropped; a break at the very end of the text starts no further line;
// - an item that fits its text shows each paragraph as one line;
// - otherwise a paragraph is cut into words, each ending after a space or a
//   hyphen, and words are added to a line while its width stays within the
//   box; a word that does not fit starts the next line;
// - a single word wider than the box is cut to the characters that fit, on a
//   line of their own, and the rest of the word is dropped.
// The lines it returns point into the text given or into the breaker's own
// buffer, and stay valid until the next call.
class LineBreaker
{
public:
    // At most maxLines lines, the first ones.
    std::span<const QStringView> breakText(QStringView text, double boxWidth, bool fitsText,
        const TextMeasurer& measurer, int maxLines = INT_MAX);

private:
    void breakParagraph(
        QStringView paragraph, double boxWidth, const TextMeasurer& measurer, int maxLines);

    QString m_buffer;
    std::vector<QStringView> m_lines;
};

// The same, as strings.
QStringList breakLines(
    QStringView text, double boxWidth, bool fitsText, const TextMeasurer& measurer);
