#include "error.h"

#include <gtest/gtest.h>

// The error box adds a full stop after a character that comes after "."
// (letters, digits, quotes above it), not after ")" or ".".
TEST(ErrorText, FullStopRule)
{
    const struct
    {
        const char16_t* message;
        const char16_t* shown;
    } cases[] = {
        {u"Stream write error", u"Stream write error."},
        {u"List index out of bounds (14)", u"List index out of bounds (14)"},
        {u"'12/31/2005' is not a valid date", u"'12/31/2005' is not a valid date."},
        {u"Done.", u"Done."},
        {u"Codice 4", u"Codice 4."},
        {u"Percorso \"x\"", u"Percorso \"x\""},
        {u"Città", u"Città."},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withFullStop(QString::fromUtf16(c.message)), QString::fromUtf16(c.shown));
}

TEST(ErrorText, SystemTextLosesTrailingBlanksLineEndsAndFullStops)
{
    EXPECT_EQ(systemErrorText(QStringLiteral("Access is denied. \r\n")),
        QStringLiteral("Access is denied"));
    EXPECT_EQ(systemErrorText(QStringLiteral("Disk full")), QStringLiteral("Disk full"));
}
