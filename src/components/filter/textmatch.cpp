#include "textmatch.h"

#include "codepage.h"

#include <QChar>

#include <cstring>
#include <string_view>

namespace TextMatch {

const std::array<unsigned char, 256>& foldTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> fold {};
        const CodePage& codePage = CodePage::windows1252();
        for (int byte = 0; byte < 256; ++byte) {
            fold[std::size_t(byte)] = static_cast<unsigned char>(byte);
            const char16_t c = codePage.toUnicode(static_cast<unsigned char>(byte));
            const char16_t lower = QChar::toLower(c);
            if (lower == c)
                continue;
            const auto back = static_cast<unsigned char>(codePage.fromUnicode(lower));
            if (codePage.toUnicode(back) == lower)
                fold[std::size_t(byte)] = back;
        }
        return fold;
    }();
    return table;
}

QByteArray folded(QByteArrayView bytes)
{
    const std::array<unsigned char, 256>& fold = foldTable();
    QByteArray result(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        result[i] = char(fold[static_cast<unsigned char>(bytes[i])]);
    return result;
}

FoldedText::FoldedText(QByteArrayView bytes)
    : m_size(bytes.size())
{
    char* out = m_inline;
    if (bytes.size() > qsizetype(sizeof m_inline)) {
        m_heap.resize(bytes.size());
        out = m_heap.data();
        m_data = out;
    }
    const std::array<unsigned char, 256>& fold = foldTable();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = char(fold[static_cast<unsigned char>(bytes[i])]);
}

bool startsWithFolded(QByteArrayView text, QByteArrayView prefix)
{
    if (text.size() < prefix.size())
        return false;
    const std::array<unsigned char, 256>& fold = foldTable();
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (char(fold[static_cast<unsigned char>(text[i])]) != prefix[i])
            return false;
    }
    return true;
}

bool endsWithFolded(QByteArrayView text, QByteArrayView suffix)
{
    if (text.size() < suffix.size())
        return false;
    return startsWithFolded(text.sliced(text.size() - suffix.size()), suffix);
}

LikePattern::LikePattern(QByteArrayView pattern)
{
    Segment current;
    for (const char c : pattern) {
        if (c == '%') {
            m_anyInside = true;
            m_segments.push_back(std::move(current));
            current = Segment();
            continue;
        }
        if (c == '_')
            current.hasWildcard = true;
        current.bytes.append(c);
    }
    m_segments.push_back(std::move(current));
}

bool LikePattern::segmentAt(const Segment& segment, QByteArrayView text, qsizetype at) const
{
    const QByteArray& bytes = segment.bytes;
    if (!segment.hasWildcard)
        return std::memcmp(text.data() + at, bytes.constData(), std::size_t(bytes.size())) == 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '_' && bytes[i] != text[at + i])
            return false;
    }
    return true;
}

// The first place at or after from where the segment matches, or -1.
qsizetype LikePattern::find(const Segment& segment, QByteArrayView text, qsizetype from) const
{
    const qsizetype size = segment.bytes.size();
    if (!segment.hasWildcard) {
        const std::string_view haystack(text.data(), std::size_t(text.size()));
        const std::size_t found = haystack.find(
            std::string_view(segment.bytes.constData(), std::size_t(size)), std::size_t(from));
        return found == std::string_view::npos ? -1 : qsizetype(found);
    }
    for (qsizetype at = from; at + size <= text.size(); ++at) {
        if (segmentAt(segment, text, at))
            return at;
    }
    return -1;
}

bool LikePattern::matches(QByteArrayView text) const
{
    if (m_segments.empty())
        return text.isEmpty();
    const Segment& first = m_segments.front();
    if (!m_anyInside)
        return text.size() == first.bytes.size() && segmentAt(first, text, 0);
    const Segment& last = m_segments.back();
    const qsizetype head = first.bytes.size(), tail = last.bytes.size();
    if (head + tail > text.size() || !segmentAt(first, text, 0)
        || !segmentAt(last, text, text.size() - tail))
        return false;
    // The middle segments in order, each as early as it goes: an earlier
    // place never leaves less room for the rest.
    const QByteArrayView middle = text.first(text.size() - tail);
    qsizetype at = head;
    for (std::size_t i = 1; i + 1 < m_segments.size(); ++i) {
        const Segment& segment = m_segments[i];
        if (segment.bytes.isEmpty())
            continue;
        const qsizetype found = find(segment, middle, at);
        if (found < 0)
            return false;
        at = found + segment.bytes.size();
    }
    return true;
}

} // namespace TextMatch
