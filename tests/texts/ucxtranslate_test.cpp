#include "componenttexts.h"
#include "ucxtranslate.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class InterfaceTextsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        componentTexts().clear();
        ApplyInterfaceTexts();
    }
    void TearDown() override { componentTexts().clear(); }

    const TextRegistry& registry = componentTexts();
};

TEST_F(InterfaceTextsTest, RegistersOneHundredEighteenRowsAsOneHundredThirteenEntries)
{
    EXPECT_EQ(interfaceTexts().size(), 118u);
    EXPECT_EQ(registry.entries().size(), 113u);
    QSet<QString> keys;
    for (const TextRegistry::Entry& entry : registry.entries())
        keys.insert(entry.key.toCaseFolded());
    EXPECT_EQ(keys.size(), 113);
    // Entries keep the order in which their keys first came.
    EXPECT_EQ(registry.entries().front().key, u"AND"_s);
    EXPECT_EQ(registry.entries()[4].key, u"Filter"_s);
    EXPECT_EQ(registry.entries().back().key, u"Average"_s);
    // 42 rows keep the English wording: 41 that repeat it, and the message
    // about a missing intermediary component.
    int unchanged = 0;
    for (const InterfaceText& text : interfaceTexts())
        unchanged += QStringView(text.component) == QStringView(text.shown);
    EXPECT_EQ(unchanged, 42);
}

TEST_F(InterfaceTextsTest, RepeatedKeysMakeOneEntryEach)
{
    for (const auto& [key, shown] : {std::pair(u"AND"_s, u"AND"_s), std::pair(u"OR"_s, u"OR"_s),
             std::pair(u"None"_s, u"Nessuno"_s)}) {
        int found = 0;
        for (const TextRegistry::Entry& entry : registry.entries()) {
            if (entry.key.compare(key, Qt::CaseInsensitive) == 0) {
                ++found;
                EXPECT_EQ(entry.key, key);
                EXPECT_EQ(entry.replacement, shown);
            }
        }
        EXPECT_EQ(found, 1) << key.toStdString();
    }
    // The lower-case words of the written filter show in capitals.
    EXPECT_EQ(registry.text(u"and"), u"AND"_s);
    EXPECT_EQ(registry.text(u"or"), u"OR"_s);
}

TEST_F(InterfaceTextsTest, LooksUpWithoutRegardToCase)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {u"FILTER BUILDER"_s, u"Generazione filtro"_s},
        {u"clear &all"_s, u"Azzera tutto"_s},
        {u"&open..."_s, u"A&pri..."_s},
        {u"Is Not Blank"_s, u"non e' vuoto"_s},
        {u"<ROOT>"_s, u"<Gruppo principale>"_s},
        {u"customize..."_s, u"Filtra..."_s},
        {u"drag a column header here to group by that column"_s,
            u"Per raggruppare per una colonna trascinarla qui.."_s},
        {u"REMOVE FROM GROUPING"_s, u"Togli questo ragguppamento"_s},
    };
    for (const auto& [key, shown] : cases)
        EXPECT_EQ(registry.text(key), shown) << key.toStdString();
}

TEST_F(InterfaceTextsTest, KeepsLiteralsExactly)
{
    EXPECT_EQ(registry.text(u"Filters (*.flt)|*.flt"), u"Filters ( *.flt )|*.flt"_s);
    EXPECT_EQ(registry.text(u"Missing an intermediary component!\r\nPlease add a %s component "
                            u"to the form."),
        u"Missing an intermediary component!\r\nPlease add a %s component to the form."_s);
    EXPECT_FALSE(registry.contains(u"Missing an intermediary component!\nPlease add a %s "
                                   u"component to the form."));
    EXPECT_EQ(registry.text(u"is less than or equal to"), u"e' minore o uguale a"_s);
    EXPECT_EQ(registry.text(u"Add &Condition"), u"Aggiungi una &Condizione"_s);
    EXPECT_EQ(registry.text(u"press the button to add a new condition"),
        u"premi qui per aggiungere una nuova condizione"_s);
    EXPECT_EQ(registry.text(u"Group By Box"), u"Visualizza/nascondi il box di raggrupp."_s);
    // Rows that register the English wording keep showing it.
    for (const char16_t* same : {u"Can't build filter from source", u"Custom Filter",
             u"Click here to add a new row", u"Customization", u"Columns", u"Bands", u"Rows",
             u"is next month", u"like", u"untitled.flt", u"flt"}) {
        EXPECT_TRUE(registry.contains(same));
        EXPECT_EQ(registry.text(same), QString::fromUtf16(same));
    }
}

TEST_F(InterfaceTextsTest, TextsNotRegisteredStayEnglish)
{
    EXPECT_FALSE(registry.contains(u"Today"));
    EXPECT_EQ(registry.text(u"Today"), u"Today"_s);
    EXPECT_EQ(registry.text(u"Clear"), u"Clear"_s);
}

TEST_F(InterfaceTextsTest, RegisteringAgainChangesNothing)
{
    const std::vector<TextRegistry::Entry> before = registry.entries();
    ApplyInterfaceTexts();
    ASSERT_EQ(registry.entries().size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(registry.entries()[i].key, before[i].key);
        EXPECT_EQ(registry.entries()[i].replacement, before[i].replacement);
    }
}

} // namespace
