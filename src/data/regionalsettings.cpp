#include "regionalsettings.h"

#include "codepage.h"

#include <algorithm>

namespace {

bool isFieldLetter(QChar c)
{
    return c == u'd' || c == u'M' || c == u'y';
}

// Reads a quoted literal of a Qt date format starting at i; returns its text and
// moves i past the closing quote ("''" stands for one quote).
QString readQuoted(QStringView format, qsizetype& i)
{
    QString text;
    ++i;
    while (i < format.size()) {
        if (format[i] == u'\'') {
            if (i + 1 < format.size() && format[i + 1] == u'\'') {
                text += u'\'';
                i += 2;
                continue;
            }
            ++i;
            return text;
        }
        text += format[i++];
    }
    return text;
}

} // namespace

RegionalSettings::RegionalSettings(
    const QLocale& locale, QStringView dateFormat, QChar decimalSeparator)
    : m_locale(locale)
    , m_decimalSeparator(decimalSeparator)
{
    if (!parseFormat(dateFormat))
        setNumericOrder(dateFormat);
    encodeLiterals();
}

void RegionalSettings::encodeLiterals()
{
    for (std::size_t k = 0; k < m_literals.size(); ++k) {
        const QByteArray bytes = CodePage::windows1252().encode(m_literals[k]);
        m_literalBytes[k].assign(bytes.constData(), std::size_t(bytes.size()));
    }
}

RegionalSettings RegionalSettings::italian()
{
    return RegionalSettings(QLocale(QLocale::Italian, QLocale::Italy), u"dd/MM/yyyy", u',');
}

RegionalSettings RegionalSettings::fromLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return italian();
    const QString point = locale.decimalPoint();
    return RegionalSettings(
        locale, locale.dateFormat(QLocale::ShortFormat), point.isEmpty() ? u'.' : point.at(0));
}

RegionalSettings RegionalSettings::fromSystem()
{
    return fromLocale(QLocale::system());
}

// Takes a numeric short format apart into its three fields and the literals
// around them. Fails for formats with names of months or days, or without
// exactly one day, month and year.
bool RegionalSettings::parseFormat(QStringView format)
{
    int fieldCount = 0;
    bool seen[3] = {false, false, false};
    QString literal;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == u'\'') {
            literal += readQuoted(format, i);
            continue;
        }
        if (!isFieldLetter(c)) {
            literal += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        i += run;
        if (fieldCount == 3)
            return false;
        const Part part = c == u'd' ? Part::Day : c == u'M' ? Part::Month : Part::Year;
        if (part != Part::Year && run > 2)
            return false; // names of days or months
        if (seen[int(part)])
            return false;
        seen[int(part)] = true;
        m_literals[fieldCount] = literal;
        literal.clear();
        m_fields[fieldCount++] = {part, part == Part::Year ? 4 : int(run)};
    }
    m_literals[3] = literal;
    qsizetype literalSize = 0;
    for (const QString& text : m_literals)
        literalSize += text.size();
    // Keeps a formatted date within maxFormattedDateSize.
    return fieldCount == 3 && literalSize <= maxFormattedDateSize - 16;
}

// For a format that shows names: the numeric day, month and year in the order
// in which that format names them.
void RegionalSettings::setNumericOrder(QStringView format)
{
    std::array<std::pair<qsizetype, Part>, 3> order {{
        {format.indexOf(u'd'), Part::Day},
        {format.indexOf(u'M'), Part::Month},
        {format.indexOf(u'y'), Part::Year},
    }};
    for (auto& [position, part] : order) {
        if (position < 0)
            position = format.size() + int(part);
    }
    std::sort(order.begin(), order.end());
    for (int k = 0; k < 3; ++k) {
        const Part part = order[k].second;
        m_fields[k] = {part, part == Part::Year ? 4 : 2};
    }
    m_literals = {QString(), QStringLiteral("/"), QStringLiteral("/"), QString()};
}

QString RegionalSettings::shortDateFormat() const
{
    QString format = m_literals[0];
    for (int k = 0; k < 3; ++k) {
        const QChar letter = m_fields[k].part == Part::Day ? u'd'
            : m_fields[k].part == Part::Month              ? u'M'
                                                           : u'y';
        format += QString(m_fields[k].width, letter);
        format += m_literals[k + 1];
    }
    return format;
}

QChar RegionalSettings::dateSeparator() const
{
    for (const QChar c : m_literals[1]) {
        if (!c.isSpace())
            return c;
    }
    return u'/';
}

int RegionalSettings::formatDate(QDate date, char* out) const
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    char* p = out;
    auto putLiteral = [&p](const std::string& literal) {
        for (const char c : literal)
            *p++ = c;
    };
    putLiteral(m_literalBytes[0]);
    for (int k = 0; k < 3; ++k) {
        const DateField field = m_fields[k];
        int value = field.part == Part::Day ? day : field.part == Part::Month ? month : year;
        char digits[8];
        int count = 0;
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value > 0 && count < 8);
        for (int pad = count; pad < field.width; ++pad)
            *p++ = '0';
        while (count > 0)
            *p++ = digits[--count];
        putLiteral(m_literalBytes[k + 1]);
    }
    return int(p - out);
}

QString RegionalSettings::formatDate(QDate date) const
{
    if (!date.isValid())
        return QString();
    char buffer[maxFormattedDateSize];
    const int size = formatDate(date, buffer);
    return CodePage::windows1252().decode(QByteArrayView(buffer, size));
}

std::optional<QDate> RegionalSettings::parseDate(QStringView text) const
{
    qsizetype i = 0;
    auto matchLiteral = [&](const QString& literal) {
        if (text.size() - i < literal.size())
            return false;
        for (const QChar c : literal) {
            if (text[i++] != c)
                return false;
        }
        return true;
    };
    int values[3] = {0, 0, 0};
    if (!matchLiteral(m_literals[0]))
        return std::nullopt;
    for (int k = 0; k < 3; ++k) {
        const DateField field = m_fields[k];
        const int maxDigits = field.part == Part::Year ? 4 : 2;
        const int minDigits = field.part == Part::Year ? 4 : 1;
        int digits = 0;
        int value = 0;
        while (digits < maxDigits && i < text.size() && text[i].isDigit()
            && text[i].unicode() < 0x80) {
            value = value * 10 + (text[i].unicode() - u'0');
            ++digits;
            ++i;
        }
        if (digits < minDigits)
            return std::nullopt;
        values[int(field.part)] = value;
        if (!matchLiteral(m_literals[k + 1]))
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const int day = values[int(Part::Day)], month = values[int(Part::Month)],
              year = values[int(Part::Year)];
    if (year < 1 || !QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

bool RegionalSettings::operator==(const RegionalSettings& other) const
{
    return m_locale == other.m_locale && m_decimalSeparator == other.m_decimalSeparator
        && shortDateFormat() == other.shortDateFormat();
}
