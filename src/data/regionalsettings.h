#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <string>

// The user's regional settings that dates, amounts and the order of titles
// follow: the short date format with its separator, the decimal separator and
// the collation. Read once from the system at start-up; tests set their own.
class RegionalSettings
{
public:
    // Day/month/four-digit year with "/", decimal comma, Italian collation.
    static RegionalSettings italian();
    // The settings of a locale. Two-digit years are widened to four digits and a
    // format with month or day names is replaced by the numeric order of the
    // locale; the "C" locale means Italian settings.
    static RegionalSettings fromLocale(const QLocale& locale);
    static RegionalSettings fromSystem();

    QString shortDateFormat() const;
    QChar dateSeparator() const;
    QChar decimalSeparator() const { return m_decimalSeparator; }
    // The locale whose collation orders texts.
    const QLocale& collationLocale() const { return m_locale; }

    QString formatDate(QDate date) const;
    // Writes the date in the short format; returns the number of bytes written
    // (at most maxFormattedDateSize).
    int formatDate(QDate date, char* out) const;
    static constexpr int maxFormattedDateSize = 64;

    // A date written in the short format and separator, or nothing.
    std::optional<QDate> parseDate(QStringView text) const;

    bool operator==(const RegionalSettings& other) const;

private:
    enum class Part { Day, Month, Year };
    struct DateField
    {
        Part part;
        int width; // 1 or 2 for day and month; 4 for the year
    };

    RegionalSettings(const QLocale& locale, QStringView dateFormat, QChar decimalSeparator);
    bool parseFormat(QStringView format);
    void setNumericOrder(QStringView format);
    void encodeLiterals();

    QLocale m_locale;
    QChar m_decimalSeparator;
    std::array<DateField, 3> m_fields {};
    // Text before the first field, between the fields and after the last,
    // also in the code page of the data file.
    std::array<QString, 4> m_literals;
    std::array<std::string, 4> m_literalBytes;
};
