#include "valuetext.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace ValueText {

namespace {

// True for values exactly halfway between two cents (an odd number of
// eighths), the only ties that a binary double can hold.
bool isHalfCent(double value)
{
    const double eighths = std::fabs(value) * 8;
    return eighths < 0x1p50 && std::floor(eighths) == eighths && std::fmod(eighths, 2.0) == 1.0;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

int formatAmount(double value, char decimalSeparator, char* out)
{
    char buffer[maxFormattedAmountSize];
    char* end = buffer;
    if (!std::isfinite(value)) {
        const char* text = std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF";
        while (*text)
            *end++ = *text++;
    } else if (isHalfCent(value)) {
        end = std::to_chars(buffer, buffer + sizeof buffer, std::round(value * 100) / 100,
            std::chars_format::fixed, 2)
                  .ptr;
    } else {
        end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2).ptr;
    }
    const char* begin = buffer;
    // A negative value that rounds to zero is written as zero.
    if (*begin == '-' && end - begin == 5 && begin[1] == '0' && begin[3] == '0' && begin[4] == '0')
        ++begin;
    char* p = out;
    for (const char* q = begin; q != end; ++q)
        *p++ = *q == '.' ? decimalSeparator : *q;
    return int(p - out);
}

QString formatAmount(double value, QChar decimalSeparator)
{
    char buffer[maxFormattedAmountSize];
    const int size = formatAmount(value, '.', buffer);
    QString text = QString::fromLatin1(buffer, size);
    text.replace(u'.', decimalSeparator);
    return text;
}

int formatInteger(qint32 value, char* out)
{
    return int(std::to_chars(out, out + 16, value).ptr - out);
}

std::optional<qint32> parseInteger(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (!isAsciiDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

std::optional<double> parseAmount(QStringView text, QChar decimalSeparator)
{
    // Longer texts cannot be amounts anyone typed; they are refused rather
    // than copied.
    constexpr qsizetype maxLength = 350;
    if (text.isEmpty() || text.size() > maxLength)
        return std::nullopt;
    char ascii[maxLength + 1];
    qsizetype i = 0;
    int n = 0;
    auto take = [&](char c) {
        ascii[n++] = c;
        ++i;
    };
    if (text[i] == u'+')
        ++i;
    else if (text[i] == u'-')
        take('-');
    int mantissaDigits = 0;
    while (i < text.size() && isAsciiDigit(text[i])) {
        take(char(text[i].unicode()));
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == decimalSeparator) {
        take('.');
        while (i < text.size() && isAsciiDigit(text[i])) {
            take(char(text[i].unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
        take('e');
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            take(char(text[i].unicode()));
        int exponentDigits = 0;
        while (i < text.size() && isAsciiDigit(text[i])) {
            take(char(text[i].unicode()));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(ascii, ascii + n, value);
    if (error != std::errc() || end != ascii + n || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace ValueText
