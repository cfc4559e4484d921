#include "catalogtable.h"
#include "datasource.h"
#include "error.h"
#include "fieldlink.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(FieldInput, CharactersANumberFieldTakes)
{
    const struct
    {
        FieldKind kind;
        const char16_t* accepted;
        const char16_t* refused;
    } cases[] = {
        {FieldKind::Integer, u"0123456789+-", u"eE,.aZ /"},
        {FieldKind::Float, u"0123456789+-eE,", u".aZd /"},
        {FieldKind::Text, u"aZ9,. -/\u00e8", u""},
        {FieldKind::Date, u"0123456789/", u""},
    };
    for (const auto& c : cases) {
        for (const QChar ch : QStringView(c.accepted))
            EXPECT_TRUE(FieldInput::acceptsCharacter(c.kind, ch, u','))
                << int(c.kind) << " " << ch.toLatin1();
        for (const QChar ch : QStringView(c.refused))
            EXPECT_FALSE(FieldInput::acceptsCharacter(c.kind, ch, u','))
                << int(c.kind) << " " << ch.toLatin1();
    }
    // The decimal separator is the one of the regional settings.
    EXPECT_TRUE(FieldInput::acceptsCharacter(FieldKind::Float, u'.', u'.'));
    EXPECT_FALSE(FieldInput::acceptsCharacter(FieldKind::Float, u',', u'.'));
}

TEST(FieldInput, LetterCaseKeepsTheLength)
{
    EXPECT_EQ(FieldInput::toCase(u"Città di Castello 1e5"_qs, LetterCase::Upper),
        u"CITTÀ DI CASTELLO 1E5"_qs);
    EXPECT_EQ(FieldInput::toCase(u"1E5 ÀB"_qs, LetterCase::Lower), u"1e5 àb"_qs);
    EXPECT_EQ(FieldInput::toCase(u"MiXeD"_qs, LetterCase::AsTyped), u"MiXeD"_qs);
    // A letter whose upper case is two letters stays one character.
    EXPECT_EQ(FieldInput::toCase(u"straße"_qs, LetterCase::Upper).size(), 6);
}

TEST(FieldInput, TrimmedDropsSpacesAndControlCharacters)
{
    EXPECT_EQ(FieldInput::trimmed(u"   "), u"");
    EXPECT_EQ(FieldInput::trimmed(u"\t\r\n \x01"), u"");
    EXPECT_EQ(FieldInput::trimmed(u" \tA B\x1f "), u"A B");
    EXPECT_EQ(FieldInput::trimmed(u"\u00a0A"), u"\u00a0A"); // not a control character
}

TEST(FieldInput, DateDisplayFormatQuotesLetters)
{
    EXPECT_EQ(FieldInput::dateDisplayFormat(u"dd/MM/yyyy"), u"dd/MM/yyyy"_qs);
    EXPECT_EQ(FieldInput::dateDisplayFormat(u"M/d/yyyy"), u"M/d/yyyy"_qs);
    EXPECT_EQ(FieldInput::dateDisplayFormat(u"yyyy. MM. dd."), u"yyyy. MM. dd."_qs);
    EXPECT_EQ(FieldInput::dateDisplayFormat(u"dd.MM.yyyy г."), u"dd.MM.yyyy' г.'"_qs);
    EXPECT_EQ(FieldInput::dateDisplayFormat(u"dd'MM'yyyy"), u"dd''''MM''''yyyy"_qs);
}

TEST(NotesText, LineBreaksBetweenFieldAndBox)
{
    const struct
    {
        const char16_t* field;
        const char16_t* shown;
        const char16_t* back;
    } cases[] = {
        {u"", u"", u""},
        {u"one line", u"one line", u"one line"},
        {u"a\r\nb", u"a\nb", u"a\r\nb"},
        {u"a\rb\nc", u"a\nb\nc", u"a\r\nb\r\nc"},
        {u"a\r\n\r\nb\r\n", u"a\n\nb\n", u"a\r\n\r\nb\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NotesText::fromField(c.field), QString::fromUtf16(c.shown));
        EXPECT_EQ(NotesText::toField(NotesText::fromField(c.field)), QString::fromUtf16(c.back));
    }
    // What a text box holds: paragraph and line separators.
    EXPECT_EQ(NotesText::toField(u"a\u2029b\u2028c"), u"a\r\nb\r\nc"_qs);
    EXPECT_EQ(NotesText::fieldLength(u"a\nb\u2029c"), 7);
    EXPECT_EQ(NotesText::fieldLength(NotesText::fromField(u"a\r\nb")), 4);
}

class FieldDataLinkTest : public ::testing::Test
{
protected:
    void SetUp() override { table.open(); }

    CatalogueTable table {RegionalSettings::italian()};
    DataSource source {&table};
};

TEST_F(FieldDataLinkTest, FollowsTheCurrentAndThePendingRow)
{
    FieldDataLink link(Field::Prezzo);
    link.setDataSource(&source);
    EXPECT_EQ(link.text(), QString()); // no row
    EXPECT_FALSE(link.editing());

    table.append();
    EXPECT_TRUE(link.editing());
    table.setValue(Field::Prezzo, 12.5);
    EXPECT_EQ(link.text(), u"12,50"_qs);
    table.setText(Field::Titolo, u"B"_qs);
    table.post();
    EXPECT_FALSE(link.editing());
    EXPECT_EQ(link.text(), u"12,50"_qs);

    table.append();
    table.setText(Field::Titolo, u"A"_qs);
    table.setValue(Field::Prezzo, 3.0);
    table.post();
    table.moveTo(1);
    EXPECT_EQ(link.text(), u"12,50"_qs);
    table.moveTo(0);
    EXPECT_EQ(link.text(), u"3,00"_qs);
}

// The control shows its field anew (dropping its input) when another row
// becomes current, the state changes or its own field changes, not when
// another field of the pending row does.
TEST_F(FieldDataLinkTest, TellsTheControlWhenToShowTheFieldAgain)
{
    FieldDataLink link(Field::Titolo);
    link.setDataSource(&source);
    QSignalSpy changed(&link, &FieldDataLink::recordChanged);

    table.append();
    EXPECT_GE(changed.size(), 1);
    changed.clear();

    link.setModified(true);
    table.setText(Field::Autore, u"X"_qs);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_TRUE(link.isModified());

    link.setText(u"TITOLO"_qs);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_FALSE(link.isModified());
    EXPECT_EQ(link.text(), u"TITOLO"_qs);

    changed.clear();
    table.cancel();
    EXPECT_GE(changed.size(), 1);
    EXPECT_EQ(link.text(), QString());
}

TEST_F(FieldDataLinkTest, ATextTheFieldCannotTakeIsRefusedWithItsMessage)
{
    FieldDataLink pages(Field::NPagine);
    pages.setDataSource(&source);
    table.append();
    table.setValue(Field::NPagine, 7);
    pages.setModified(true);
    try {
        pages.setText(u"12-3"_qs);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), u"'12-3' is not a valid integer value for field 'npagine'"_qs);
    }
    // The input stays for the user to correct.
    EXPECT_TRUE(pages.isModified());
    EXPECT_EQ(pages.text(), u"7"_qs);
    pages.setText(QString());
    EXPECT_TRUE(table.isNull(Field::NPagine));
}
