#include "codepage.h"

#include <QStringDecoder>

#include <algorithm>

const CodePage& CodePage::windows1252()
{
    static const CodePage instance;
    return instance;
}

CodePage::CodePage()
{
    QStringDecoder decoder("windows-1252");
    Q_ASSERT(decoder.isValid());
    for (int byte = 0; byte < 256; ++byte) {
        const char c = char(byte);
        const QString decoded = decoder.decode(QByteArrayView(&c, 1));
        // Bytes the code page leaves undefined stand for the control
        // character of the same number, so they survive a round trip.
        const bool single = decoded.size() == 1 && decoded.at(0) != QChar::ReplacementCharacter;
        m_toUnicode[byte] = single ? decoded.at(0).unicode() : char16_t(byte);
    }
    for (int byte = 0x80; byte < 0x100; ++byte)
        m_fromUnicode[byte - 0x80] = {m_toUnicode[byte], static_cast<unsigned char>(byte)};
    std::sort(m_fromUnicode.begin(), m_fromUnicode.end());
}

QString CodePage::decode(QByteArrayView bytes) const
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeInto(bytes, reinterpret_cast<char16_t*>(text.data()));
    return text;
}

void CodePage::decodeInto(QByteArrayView bytes, char16_t* out) const
{
    for (const char c : bytes)
        *out++ = m_toUnicode[static_cast<unsigned char>(c)];
}

char CodePage::fromUnicode(char16_t c) const
{
    if (c < 0x80)
        return char(c);
    const auto it = std::lower_bound(
        m_fromUnicode.begin(), m_fromUnicode.end(), std::pair<char16_t, unsigned char> {c, 0});
    if (it != m_fromUnicode.end() && it->first == c)
        return char(it->second);
    return '?';
}

QByteArray CodePage::encode(QStringView text) const
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    encodeInto(text, bytes.data());
    return bytes;
}

void CodePage::encodeInto(QStringView text, char* out) const
{
    for (const QChar c : text)
        *out++ = fromUnicode(c.unicode());
}
