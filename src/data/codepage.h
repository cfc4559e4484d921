#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

// The single-byte character set in which the catalogue holds its text
// (windows-1252). Text fields keep the bytes themselves, so a value read from
// the data file goes back out as the very same bytes; conversion happens only
// where text meets the user. The tables are built once from Qt's own codec.
class CodePage
{
public:
    static const CodePage& windows1252();

    QString decode(QByteArrayView bytes) const;
    // Appends the decoded bytes to a UTF-16 buffer; no allocation when it has room.
    void decodeInto(QByteArrayView bytes, char16_t* out) const;
    char16_t toUnicode(unsigned char byte) const { return m_toUnicode[byte]; }

    // Characters the code page cannot hold become "?", as the system does.
    QByteArray encode(QStringView text) const;
    // Writes text.size() bytes to out.
    void encodeInto(QStringView text, char* out) const;
    char fromUnicode(char16_t c) const;

private:
    CodePage();

    std::array<char16_t, 256> m_toUnicode {};
    // Sorted by code point, for the characters above 0x7F.
    std::array<std::pair<char16_t, unsigned char>, 128> m_fromUnicode {};
};
