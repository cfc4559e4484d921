#include "componenttexts.h"

#include <gtest/gtest.h>

TEST(TextRegistry, LooksUpWithoutRegardToCase)
{
    TextRegistry registry;
    registry.add(u"(All)", u"(Tutti)");
    EXPECT_EQ(registry.text(u"(ALL)"), QStringLiteral("(Tutti)"));
    EXPECT_EQ(registry.text(u"(all)"), QStringLiteral("(Tutti)"));
    EXPECT_TRUE(registry.contains(u"(aLL)"));
}

TEST(TextRegistry, TextNotRegisteredStaysEnglish)
{
    TextRegistry registry;
    registry.add(u"(All)", u"(Tutti)");
    EXPECT_EQ(registry.text(u"Today"), QStringLiteral("Today"));
    EXPECT_FALSE(registry.contains(u"Today"));
}

TEST(TextRegistry, RegisteringAKeyAgainReplacesItsText)
{
    TextRegistry registry;
    registry.add(u"AND", u"E");
    registry.add(u"OR", u"OR");
    registry.add(u"and", u"AND");
    ASSERT_EQ(registry.entries().size(), 2u);
    EXPECT_EQ(registry.entries()[0].key, QStringLiteral("AND"));
    EXPECT_EQ(registry.entries()[0].replacement, QStringLiteral("AND"));
    EXPECT_EQ(registry.text(u"And"), QStringLiteral("AND"));
}
