#include "catalogfixture.h"
#include "error.h"
#include "testenvironment.h"

#include <QSignalSpy>

using Table = CatalogueTable;

class CatalogueTableTest : public CatalogueFixture
{
};

TEST_F(CatalogueTableTest, NewRowHasTheDefaultsAndTheTimeStampKey)
{
    table.append();
    EXPECT_EQ(table.state(), Table::State::Insert);
    for (const Field field : {Field::Barcode, Field::Titolo, Field::Autore, Field::Casaedi,
             Field::Argomento, Field::Collana, Field::Lingua, Field::Formato, Field::Note}) {
        EXPECT_FALSE(table.isNull(field)) << index(field);
        EXPECT_EQ(table.displayText(field), QString());
    }
    EXPECT_EQ(table.displayText(Field::AnnoPubblicazione), QStringLiteral("01/01/1900"));
    EXPECT_EQ(table.displayText(Field::NPagine), QStringLiteral("0"));
    EXPECT_EQ(table.displayText(Field::Prezzo), QStringLiteral("0,00"));
    EXPECT_EQ(table.displayText(Field::Costo), QStringLiteral("0,00"));
    EXPECT_EQ(table.displayText(Field::NumScad), QStringLiteral("050412183005"));
    // The defaults are no change of the user's: the row can be abandoned.
    EXPECT_FALSE(table.isModified());
}

TEST_F(CatalogueTableTest, RowsOfOneSecondShareTheirKey)
{
    const RowId first = addBook(QStringLiteral("UNO"));
    const RowId second = addBook(QStringLiteral("DUE"));
    now += 1;
    const RowId third = addBook(QStringLiteral("TRE"));
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.displayText(first, Field::NumScad), table.displayText(second, Field::NumScad));
    EXPECT_EQ(table.displayText(third, Field::NumScad), QStringLiteral("050412183006"));
}

TEST_F(CatalogueTableTest, LongTextIsCutToTheFieldSize)
{
    const QString title75 = QString(75, u'T');
    const RowId row = addBook({{Field::Titolo, title75}, {Field::Barcode, QString(25, u'1')},
        {Field::Note, QString(600, u'n')}});
    EXPECT_EQ(table.displayText(row, Field::Titolo), title75.left(70));
    EXPECT_EQ(table.displayText(row, Field::Barcode).size(), 20);
    EXPECT_EQ(table.displayText(row, Field::Note).size(), 500);
}

TEST_F(CatalogueTableTest, KeepsTitleOrderWhateverTheOrderOfEntry)
{
    for (const QStringList& entry :
        {QStringList {QStringLiteral("GAMMA"), QStringLiteral("ALFA"), QStringLiteral("BETA")},
            QStringList {
                QStringLiteral("BETA"), QStringLiteral("GAMMA"), QStringLiteral("ALFA")}}) {
        table.close();
        table.open();
        for (const QString& title : entry)
            addBook(title);
        EXPECT_EQ(titlesInOrder(),
            (QStringList {
                QStringLiteral("ALFA"), QStringLiteral("BETA"), QStringLiteral("GAMMA")}));
    }
}

TEST_F(CatalogueTableTest, ChangedTitleMovesToItsPlaceAndBack)
{
    addBook(QStringLiteral("ALFA"));
    const RowId beta = addBook(QStringLiteral("BETA"));
    addBook(QStringLiteral("GAMMA"));

    table.moveToRow(beta);
    table.edit();
    table.setText(Field::Titolo, QStringLiteral("ZETA"));
    table.post();
    EXPECT_EQ(titlesInOrder(),
        (QStringList {QStringLiteral("ALFA"), QStringLiteral("GAMMA"), QStringLiteral("ZETA")}));
    EXPECT_EQ(table.currentRow(), beta);
    EXPECT_EQ(table.currentPosition(), 2);

    table.edit();
    table.setText(Field::Titolo, QStringLiteral("BETA"));
    table.post();
    EXPECT_EQ(titlesInOrder(),
        (QStringList {QStringLiteral("ALFA"), QStringLiteral("BETA"), QStringLiteral("GAMMA")}));
    EXPECT_EQ(table.currentRow(), beta);
}

TEST_F(CatalogueTableTest, TitleStillBetweenItsNeighboursStaysPut)
{
    for (const char* title : {"A", "B", "C", "D"})
        addBook(QString::fromLatin1(title));
    table.moveTo(1);
    const RowId b = table.currentRow();
    table.edit();
    table.setText(Field::Titolo, QStringLiteral("BB"));
    table.post();
    EXPECT_EQ(titlesInOrder(),
        (QStringList {
            QStringLiteral("A"), QStringLiteral("BB"), QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(table.positionOf(b), 1);
}

TEST_F(CatalogueTableTest, CaseIsSignificantAndEmptyTitlesComeFirst)
{
    addBook(QStringLiteral("Il ritorno"));
    addBook(QStringLiteral("IL RITORNO"));
    addBook(QStringLiteral("il ritorno"));
    addBook(QString());
    table.append();
    table.clear(Field::Titolo); // a missing title
    table.post();
    const QStringList titles = titlesInOrder();
    EXPECT_EQ(titles.mid(0, 2), (QStringList {QString(), QString()}));
    EXPECT_EQ(titles.mid(2),
        (QStringList {QStringLiteral("il ritorno"), QStringLiteral("Il ritorno"),
            QStringLiteral("IL RITORNO")}));
}

TEST_F(CatalogueTableTest, RecordNumbersAreNeverGivenTwice)
{
    const RowId a = addBook(QStringLiteral("A"));
    const RowId b = addBook(QStringLiteral("B"));
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    table.append();
    table.cancel(); // an abandoned row uses up no number
    table.moveToRow(b);
    table.remove();
    const RowId c = addBook(QStringLiteral("C"));
    EXPECT_EQ(c, 3u);
    EXPECT_EQ(std::get<qint32>(table.value(c, Field::RecId)), 3);

    table.close();
    table.open();
    EXPECT_EQ(addBook(QStringLiteral("D")), 1u); // numbering starts afresh
}

TEST_F(CatalogueTableTest, DeletingMovesToTheFollowingOrTheNewLastRow)
{
    for (const char* title : {"A", "B", "C"})
        addBook(QString::fromLatin1(title));
    table.moveTo(1);
    table.remove();
    EXPECT_EQ(table.displayText(Field::Titolo), QStringLiteral("C"));
    table.remove();
    EXPECT_EQ(table.displayText(Field::Titolo), QStringLiteral("A"));
    EXPECT_EQ(table.currentPosition(), 0);
    table.remove();
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(table.currentRow(), NoRow);
    EXPECT_THROW(table.remove(), Error);
}

TEST_F(CatalogueTableTest, RememberedRowFollowsItsMoves)
{
    EXPECT_EQ(table.remember().row, NoRow); // empty table: no row
    table.returnTo(Bookmark {}); // does nothing
    const RowId m = addBook(QStringLiteral("M"));
    const Bookmark mark = table.remember();
    addBook(QStringLiteral("A"));
    addBook(QStringLiteral("B"));
    EXPECT_NE(table.currentRow(), m);
    table.returnTo(mark);
    EXPECT_EQ(table.currentRow(), m);
    EXPECT_EQ(table.currentPosition(), 2);

    table.remove();
    table.first();
    table.returnTo(mark); // gone: nothing happens
    EXPECT_EQ(table.currentPosition(), 0);
}

TEST_F(CatalogueTableTest, WalksTheRowsInOrder)
{
    table.first();
    EXPECT_TRUE(table.atEnd());
    for (const char* title : {"C", "A", "B"})
        addBook(QString::fromLatin1(title));
    QStringList walked;
    for (table.first(); !table.atEnd(); table.next())
        walked << table.displayText(Field::Titolo);
    EXPECT_EQ(
        walked, (QStringList {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(table.currentPosition(), 2);
}

TEST_F(CatalogueTableTest, CancelAbandonsTheChange)
{
    const RowId row
        = addBook({{Field::Titolo, QStringLiteral("A")}, {Field::Prezzo, QStringLiteral("3")}});
    table.edit();
    table.setText(Field::Titolo, QStringLiteral("Z"));
    table.setText(Field::Prezzo, QString());
    EXPECT_TRUE(table.isNull(Field::Prezzo));
    table.cancel();
    EXPECT_EQ(table.state(), Table::State::Browse);
    EXPECT_EQ(table.displayText(row, Field::Titolo), QStringLiteral("A"));
    EXPECT_EQ(table.displayText(row, Field::Prezzo), QStringLiteral("3,00"));
}

TEST_F(CatalogueTableTest, ValuesAFieldCannotTakeRaiseItsMessage)
{
    table.append();
    const struct
    {
        Field field;
        const char16_t* text;
        const char16_t* message;
    } cases[] = {
        {Field::NPagine, u"abc", u"'abc' is not a valid integer value for field 'npagine'"},
        {Field::NPagine, u"99999999999",
            u"'99999999999' is not a valid integer value for field 'npagine'"},
        {Field::Prezzo, u"12.50",
            u"'12.50' is not a valid floating point value for field 'prezzo'"},
        {Field::Costo, u"1.234,50",
            u"'1.234,50' is not a valid floating point value for field 'costo'"},
        {Field::AnnoPubblicazione, u"31/02/2001", u"'31/02/2001' is not a valid date"},
    };
    for (const auto& c : cases) {
        try {
            table.setText(c.field, QString::fromUtf16(c.text));
            ADD_FAILURE() << "accepted " << QString::fromUtf16(c.text).toStdString();
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QString::fromUtf16(c.message));
        }
    }
    // The row is still pending, with its defaults.
    EXPECT_EQ(table.state(), Table::State::Insert);
    EXPECT_EQ(table.displayText(Field::NPagine), QStringLiteral("0"));
}

TEST_F(CatalogueTableTest, EmptyTextClearsNumbersAndDates)
{
    table.append();
    table.setText(Field::Titolo, QStringLiteral("X"));
    for (const Field field : {Field::NPagine, Field::Prezzo, Field::AnnoPubblicazione}) {
        table.setText(field, QString());
        EXPECT_TRUE(table.isNull(field));
    }
    table.setText(Field::Prezzo, QStringLiteral("12,5"));
    table.post();
    EXPECT_EQ(table.displayText(Field::Prezzo), QStringLiteral("12,50"));
    EXPECT_EQ(std::get<double>(table.value(Field::Prezzo)), 12.5);
    EXPECT_EQ(table.displayText(Field::NPagine), QString());
}

TEST_F(CatalogueTableTest, OperationsNeedAnOpenTableAndAPendingRow)
{
    EXPECT_THROW(table.setText(Field::Titolo, QStringLiteral("X")), Error);
    EXPECT_THROW(table.edit(), Error); // no row
    table.close();
    EXPECT_THROW(table.append(), Error);
    EXPECT_NO_THROW(table.SaveDataFile(dir.filePath(QStringLiteral("never.dat"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("never.dat"))));
}

TEST_F(CatalogueTableTest, FieldsAreFoundByNameWithoutCase)
{
    EXPECT_EQ(Table::fieldByName(u"NUMSCAD"), Field::NumScad);
    EXPECT_EQ(Table::fieldByName(u"Note"), Field::Note);
    EXPECT_EQ(Table::fieldByName(u"recid"), Field::RecId);
    EXPECT_THROW(Table::fieldByName(u"isbn"), Error);
}

TEST_F(CatalogueTableTest, FindsRowsByKey)
{
    const RowId a = addBook(QStringLiteral("A"));
    now += 60;
    const RowId b = addBook(QStringLiteral("B"));
    EXPECT_EQ(table.findNumScad(u"050412183005"), a);
    EXPECT_EQ(table.findNumScad(u"050412183105"), b);
    EXPECT_EQ(table.findNumScad(u"999999999999"), NoRow);
    table.moveToRow(a);
    table.remove();
    EXPECT_EQ(table.findNumScad(u"050412183005"), NoRow);
}

TEST_F(CatalogueTableTest, TellsTheViewsWhatChanged)
{
    QSignalSpy inserted(&table, &Table::rowInserted);
    QSignalSpy changed(&table, &Table::rowChanged);
    QSignalSpy removed(&table, &Table::rowRemoved);
    QSignalSpy reset(&table, &Table::rowsReset);
    const RowId row = addBook(QStringLiteral("A"));
    table.edit();
    table.setText(Field::Autore, QStringLiteral("X"));
    table.post();
    table.remove();
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][0].value<RowId>(), row);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(reset.size(), 0);

    // Suspended, the views hear once, at the end.
    table.disableNotifications();
    addBook(QStringLiteral("B"));
    addBook(QStringLiteral("C"));
    EXPECT_EQ(inserted.size(), 1);
    table.enableNotifications();
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(reset.size(), 1);
}

TEST_F(CatalogueTableTest, EditingInsideTheHandlerIsNoUserChange)
{
    // Moving on from an untouched new row abandons it; a touched one is stored.
    table.append();
    table.first();
    EXPECT_EQ(table.recordCount(), 0);
    table.append();
    table.setText(Field::Titolo, QStringLiteral("X"));
    table.first();
    EXPECT_EQ(table.recordCount(), 1);
}
