#include "regionalsettings.h"

#include <gtest/gtest.h>

struct LocaleCase
{
    const char* locale;
    const char* shortFormat;
    char16_t dateSeparator;
    char16_t decimalSeparator;
};

class RegionalSettingsOfLocale : public ::testing::TestWithParam<LocaleCase>
{
};

// Two-digit years are widened, the C locale means Italian settings.
TEST_P(RegionalSettingsOfLocale, ReadsTheNumericShortFormat)
{
    const LocaleCase& c = GetParam();
    const RegionalSettings settings
        = RegionalSettings::fromLocale(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(settings.shortDateFormat(), QString::fromUtf8(c.shortFormat));
    EXPECT_EQ(settings.dateSeparator(), QChar(c.dateSeparator));
    EXPECT_EQ(settings.decimalSeparator(), QChar(c.decimalSeparator));
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalSettingsOfLocale,
    ::testing::Values(LocaleCase {"it_IT", "dd/MM/yyyy", u'/', u','},
        LocaleCase {"C", "dd/MM/yyyy", u'/', u','}, LocaleCase {"en_US", "M/d/yyyy", u'/', u'.'},
        LocaleCase {"de_DE", "dd.MM.yyyy", u'.', u','},
        LocaleCase {"sv_SE", "yyyy-MM-dd", u'-', u','},
        LocaleCase {"hu_HU", "yyyy. MM. dd.", u'.', u','}));

TEST(RegionalSettings, FormatsAndParsesItalianDates)
{
    const RegionalSettings it = RegionalSettings::italian();
    EXPECT_EQ(it.formatDate(QDate(1998, 3, 15)), QStringLiteral("15/03/1998"));
    EXPECT_EQ(it.formatDate(QDate(1900, 1, 1)), QStringLiteral("01/01/1900"));
    EXPECT_EQ(it.formatDate(QDate(99, 1, 2)), QStringLiteral("02/01/0099"));
    EXPECT_EQ(it.parseDate(u"15/03/1998"), QDate(1998, 3, 15));
    EXPECT_EQ(it.parseDate(u"1/3/1998"), QDate(1998, 3, 1));
}

TEST(RegionalSettings, RefusesTextThatIsNoDateOfTheFormat)
{
    const RegionalSettings it = RegionalSettings::italian();
    for (const char16_t* text :
        {u"31/02/2001", u"12/31/2005", u"15-03-1998", u"15/03/98", u"15/03/19980", u"15/03/1998 ",
            u" 15/03/1998", u"", u"//", u"00/01/2000", u"01/01/0000", u"aa/bb/cccc", u"15/03"}) {
        EXPECT_FALSE(it.parseDate(text).has_value()) << QString::fromUtf16(text).toStdString();
    }
}

TEST(RegionalSettings, MonthDayOrderOfTheLocale)
{
    const RegionalSettings us = RegionalSettings::fromLocale(QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(us.parseDate(u"12/31/2005"), QDate(2005, 12, 31));
    EXPECT_EQ(us.formatDate(QDate(2005, 12, 31)), QStringLiteral("12/31/2005"));
}
