#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <vector>

// Matching of texts held in the catalogue's code page (windows-1252), byte by
// byte, without converting them: the patterns are converted once instead.
namespace TextMatch {

// Each byte's lower-case letter in the code page, or the byte itself.
const std::array<unsigned char, 256>& foldTable();
QByteArray folded(QByteArrayView bytes);

// A text whose letters were folded, kept on the stack for the usual sizes.
class FoldedText
{
public:
    explicit FoldedText(QByteArrayView bytes);
    FoldedText(const FoldedText&) = delete;
    FoldedText& operator=(const FoldedText&) = delete;
    QByteArrayView view() const { return {m_data, m_size}; }

private:
    char m_inline[512];
    QByteArray m_heap;
    const char* m_data = m_inline;
    qsizetype m_size = 0;
};

bool startsWithFolded(QByteArrayView text, QByteArrayView foldedPrefix);
bool endsWithFolded(QByteArrayView text, QByteArrayView foldedSuffix);

// A "like" pattern: "%" stands for any series of characters, "_" for any
// single character; every other byte stands for itself.
class LikePattern
{
public:
    LikePattern() = default;
    explicit LikePattern(QByteArrayView pattern);
    bool matches(QByteArrayView text) const;

private:
    struct Segment
    {
        QByteArray bytes;
        bool hasWildcard = false; // holds "_"
    };
    bool segmentAt(const Segment& segment, QByteArrayView text, qsizetype at) const;
    qsizetype find(const Segment& segment, QByteArrayView text, qsizetype from) const;

    // The pattern between its "%" signs; a pattern without one is one segment
    // anchored at both ends.
    std::vector<Segment> m_segments;
    bool m_anyInside = false; // the pattern holds "%"
};

} // namespace TextMatch
