#include "pagestore.h"

#include <QtEndian>

#include <cstring>
#include <stdexcept>

// A page is a sequence of elements, integers little-endian:
//   u16 style, i32 left, i32 top, i32 width, i32 height
//   and for a text: u16 line count, then per line a u16 length, its top bit
//   set when the characters are stored as Latin-1 bytes, else UTF-16 units.

namespace {

constexpr quint16 latin1Flag = 0x8000;
constexpr qsizetype maxLineLength = 0x7FFF;

template<typename T>
void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : m_bytes(bytes)
    { }

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    template<typename T>
    T take()
    {
        need(sizeof(T));
        const T value = qFromLittleEndian<T>(m_bytes.data() + m_pos);
        m_pos += sizeof(T);
        return value;
    }

    QString takeLine()
    {
        const quint16 header = take<quint16>();
        const qsizetype length = header & ~latin1Flag;
        if (header & latin1Flag) {
            need(length);
            const QString line = QString::fromLatin1(m_bytes.data() + m_pos, length);
            m_pos += length;
            return line;
        }
        need(length * 2);
        QString line(length, Qt::Uninitialized);
        for (qsizetype i = 0; i < length; ++i)
            line[i] = QChar(qFromLittleEndian<quint16>(m_bytes.data() + m_pos + 2 * i));
        m_pos += length * 2;
        return line;
    }

private:
    void need(qsizetype size) const
    {
        if (m_bytes.size() - m_pos < size)
            throw std::out_of_range("page data ends early");
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// Decodes a page; throws std::out_of_range on bytes that are not one.
PageContent decode(QByteArrayView bytes, const std::vector<ElementStyle>& styles)
{
    PageContent content;
    Reader reader(bytes);
    while (!reader.atEnd()) {
        PlacedElement element;
        element.style = reader.take<quint16>();
        if (element.style >= int(styles.size()))
            throw std::out_of_range("unknown element style");
        element.box.left = reader.take<qint32>();
        element.box.top = reader.take<qint32>();
        element.box.width = reader.take<qint32>();
        element.box.height = reader.take<qint32>();
        if (styles[std::size_t(element.style)].kind == ElementKind::Text) {
            const int count = reader.take<quint16>();
            element.lines.reserve(count);
            for (int i = 0; i < count; ++i)
                element.lines << reader.takeLine();
        }
        content.elements.push_back(std::move(element));
    }
    return content;
}

void putBox(QByteArray& out, int style, const PageBox& box)
{
    put<quint16>(out, quint16(style));
    put<qint32>(out, box.left);
    put<qint32>(out, box.top);
    put<qint32>(out, box.width);
    put<qint32>(out, box.height);
}

bool isLatin1(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace

void PageStore::clear()
{
    m_styles.clear();
    m_pages.clear();
    m_current.clear();
    m_open = false;
}

void PageStore::setPaperSize(int width, int length)
{
    m_paperWidth = width;
    m_paperLength = length;
}

int PageStore::addStyle(const ElementStyle& style)
{
    if (m_styles.size() > 0xFFFF)
        throw std::length_error("too many element styles");
    m_styles.push_back(style);
    return int(m_styles.size()) - 1;
}

void PageStore::beginPage()
{
    m_current.clear();
    m_open = true;
}

void PageStore::addBox(int style, const PageBox& box)
{
    putBox(m_current, style, box);
}

void PageStore::addText(int style, const PageBox& box, std::span<const QStringView> lines)
{
    putBox(m_current, style, box);
    const std::size_t count = std::min<std::size_t>(lines.size(), 0xFFFF);
    put<quint16>(m_current, quint16(count));
    for (std::size_t i = 0; i < count; ++i) {
        const QStringView line = lines[i].first(std::min(lines[i].size(), maxLineLength));
        if (isLatin1(line)) {
            put<quint16>(m_current, quint16(line.size()) | latin1Flag);
            const qsizetype at = m_current.size();
            m_current.resize(at + line.size());
            char* out = m_current.data() + at;
            for (const QChar c : line)
                *out++ = char(c.unicode());
        } else {
            put<quint16>(m_current, quint16(line.size()));
            for (const QChar c : line)
                put<quint16>(m_current, c.unicode());
        }
    }
}

void PageStore::endPage()
{
    if (!m_open)
        return;
    m_current.squeeze();
    // A page without elements is still a page; a null array marks a
    // released one.
    if (m_current.isNull())
        m_current = QByteArray("", 0);
    m_pages.push_back(std::move(m_current));
    m_current = QByteArray();
    m_open = false;
}

bool PageStore::isAvailable(int page) const
{
    return page >= 0 && page < pageCount() && !m_pages[std::size_t(page)].isNull();
}

PageContent PageStore::content(int page) const
{
    if (!isAvailable(page))
        return {};
    return decode(m_pages[std::size_t(page)], m_styles);
}

void PageStore::releasePage(int page)
{
    if (page >= 0 && page < pageCount())
        m_pages[std::size_t(page)] = QByteArray();
}

bool PageStore::addEncodedPage(QByteArray bytes)
{
    try {
        decode(bytes, m_styles);
    } catch (const std::out_of_range&) {
        return false;
    }
    // An empty page is still a page.
    if (bytes.isNull())
        bytes = QByteArray("", 0);
    m_pages.push_back(std::move(bytes));
    return true;
}

std::size_t PageStore::memoryBytes() const
{
    // Each page: its bytes, the array's header and the heap block's own
    // bookkeeping.
    constexpr std::size_t perPage = sizeof(QByteArray) + 32;
    std::size_t total = m_pages.capacity() * sizeof(QByteArray) + std::size_t(m_current.capacity());
    for (const QByteArray& page : m_pages)
        total += std::size_t(page.capacity()) + (page.isNull() ? 0 : perPage - sizeof(QByteArray));
    return total;
}
