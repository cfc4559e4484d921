#include "valuetext.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ValueText;

TEST(ValueText, AmountPattern)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {12.5, "12,50"},
        {0, "0,00"},
        {0.001, "0,00"},
        {-0.001, "0,00"}, // no "-0,00"
        {-2.5, "-2,50"},
        {1234567.891, "1234567,89"}, // no grouping
        {0.125, "0,13"}, // exact halves round away from zero
        {-0.125, "-0,13"},
        {0.375, "0,38"},
        {1.005, "1,00"}, // 1.005 is held as 1.00499999...
        {2.675, "2,67"},
        {0.995, "0,99"},
        {99.999, "100,00"},
        {1e20, "100000000000000000000,00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatAmount(c.value, u','), QString::fromLatin1(c.text)) << c.value;
    EXPECT_EQ(formatAmount(12.5, u'.'), QStringLiteral("12.50"));
}

TEST(ValueText, ParsesWholeNumbersWithin32Bits)
{
    EXPECT_EQ(parseInteger(u"320"), 320);
    EXPECT_EQ(parseInteger(u"-5"), -5);
    EXPECT_EQ(parseInteger(u"+5"), 5);
    EXPECT_EQ(parseInteger(u"007"), 7);
    EXPECT_EQ(parseInteger(u"2147483647"), std::numeric_limits<qint32>::max());
    EXPECT_EQ(parseInteger(u"-2147483648"), std::numeric_limits<qint32>::min());
    for (const char16_t* text : {u"", u"-", u"+", u"2147483648", u"-2147483649", u"99999999999",
             u"12a", u" 1", u"1 ", u"1,0", u"0x10", u"١٢"}) {
        EXPECT_FALSE(parseInteger(text).has_value()) << QString::fromUtf16(text).toStdString();
    }
}

TEST(ValueText, ParsesAmountsWithTheRegionalSeparator)
{
    EXPECT_EQ(parseAmount(u"12,50", u','), 12.5);
    EXPECT_EQ(parseAmount(u"12,5", u','), 12.5);
    EXPECT_EQ(parseAmount(u"-3", u','), -3.0);
    EXPECT_EQ(parseAmount(u",5", u','), 0.5);
    EXPECT_EQ(parseAmount(u"5,", u','), 5.0);
    EXPECT_EQ(parseAmount(u"1,5E2", u','), 150.0);
    EXPECT_EQ(parseAmount(u"1,5e-1", u','), 0.15);
    EXPECT_EQ(parseAmount(u"0,125", u','), 0.125); // not rounded
    EXPECT_EQ(parseAmount(u"12.50", u'.'), 12.5);
    for (const char16_t* text : {u"", u"12.50", u"1.234,50", u"1 234,50", u",", u"-", u"E5", u"1E",
             u"1e+", u"1e400", u"12,50 €", u"nan", u"inf", u"1,2,3"}) {
        EXPECT_FALSE(parseAmount(text, u',').has_value()) << QString::fromUtf16(text).toStdString();
    }
}
