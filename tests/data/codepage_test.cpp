#include "codepage.h"

#include <gtest/gtest.h>

TEST(CodePage, EveryByteRoundTrips)
{
    const CodePage& codePage = CodePage::windows1252();
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = codePage.decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(codePage.encode(text), all);
}

TEST(CodePage, MapsTheCharactersOfTheCodePage)
{
    const CodePage& codePage = CodePage::windows1252();
    EXPECT_EQ(codePage.decode("\x80\xE0\x93\x94\x85"), QStringLiteral("€à“”…"));
    EXPECT_EQ(codePage.encode(u"Città – €"), QByteArray("Citt\xE0 \x96 \x80"));
}

TEST(CodePage, CharactersItCannotHoldBecomeQuestionMarks)
{
    EXPECT_EQ(CodePage::windows1252().encode(u"Łódź 東京"),
        QByteArray("?\xF3"
                   "d? ??"));
}
