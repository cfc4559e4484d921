#include "catalogfixture.h"
#include "error.h"
#include "testenvironment.h"

#include <QFile>
#include <QSignalSpy>

#include <csignal>
#include <sys/resource.h>

using TestEnvironment::readFile;
using TestEnvironment::writeFile;

namespace {

const QByteArray header = "barcode\ttitolo\tautore\tcasaedi\targomento\tannopubblicazione\t"
                          "collana\tnpagine\tlingua\tformato\tprezzo\tcosto\tnote\tNumScad\r\n";

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class DataFileTest : public CatalogueFixture
{
protected:
    QString path(const char* name = "Librdata.dat") const
    {
        return dir.filePath(QString::fromLatin1(name));
    }
    // Loads bytes as a data file; returns the error message, if any.
    QString load(const QByteArray& bytes)
    {
        writeFile(path(), bytes);
        return errorOf([&] { table.LoadDataFile(path()); });
    }
    QByteArray save()
    {
        table.SaveDataFile(path("saved.dat"));
        return readFile(path("saved.dat"));
    }
    QString text(int position, Field field) const
    {
        return table.displayText(table.rowAt(position), field);
    }
};

// The example of the file format: one book, 116 + 108 bytes.
TEST_F(DataFileTest, WritesTheWorkedExampleByteForByte)
{
    addBook({{Field::Barcode, QStringLiteral("A001")},
        {Field::Titolo, QStringLiteral("Manuale di cucina")},
        {Field::Casaedi, QStringLiteral("Editrice Esempio")},
        {Field::Argomento, QStringLiteral("Cucina")},
        {Field::AnnoPubblicazione, QStringLiteral("15/03/1998")},
        {Field::NPagine, QStringLiteral("320")}, {Field::Lingua, QStringLiteral("ITALIANO")},
        {Field::Formato, QStringLiteral("CARTACEO")}, {Field::Prezzo, QStringLiteral("12,5")},
        {Field::Costo, QStringLiteral("0")}});
    // Each column's bytes with the TAB (or, last, the CR LF) that follows.
    const QByteArray row
        = QByteArray::fromHex("41 30 30 31 09"
                              "4D 61 6E 75 61 6C 65 20 64 69 20 63 75 63 69 6E 61 09"
                              "09"
                              "45 64 69 74 72 69 63 65 20 45 73 65 6D 70 69 6F 09"
                              "43 75 63 69 6E 61 09"
                              "31 35 2F 30 33 2F 31 39 39 38 09"
                              "09"
                              "33 32 30 09"
                              "49 54 41 4C 49 41 4E 4F 09"
                              "43 41 52 54 41 43 45 4F 09"
                              "31 32 2C 35 30 09"
                              "30 2C 30 30 09"
                              "09"
                              "30 35 30 34 31 32 31 38 33 30 30 35 0D 0A");
    ASSERT_EQ(header.size(), 116);
    ASSERT_EQ(row.size(), 108);
    EXPECT_EQ(save(), header + row);
}

TEST_F(DataFileTest, LoadsAndWritesBackByteIdentical)
{
    // Accented and Windows-only characters, empty values, equal titles.
    QByteArray file = header;
    file += "B1\tCitt\xE0 \x93nuova\x94\tAut\xF2re\t\t\t01/02/2003\t\t12\tITALIANO\tCARTACEO\t"
            "9,90\t0,00\tNote \x80 \x85\t030201120000\r\n";
    file += "\tCitt\xE0 \x93nuova\x94\t\t\t\t01/01/1900\t\t0\t\t\t0,00\t0,00\t\t030201120001\r\n";
    file += "B3\tZeta\t\t\t\t31/12/9999\t\t-7\t\t\t-1234567,89\t1,00\t\t030201120002\r\n";
    EXPECT_EQ(load(file), QString());
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(save(), file);
}

TEST_F(DataFileTest, ReadsEveryKindOfLineEnd)
{
    const struct
    {
        const char* name;
        QByteArray body;
        QStringList titles;
    } cases[] = {
        {"CR LF", "\tA\r\n\tB\r\n", {QStringLiteral("A"), QStringLiteral("B")}},
        {"LF", "\tA\n\tB\n", {QStringLiteral("A"), QStringLiteral("B")}},
        {"CR", "\tA\r\tB\r", {QStringLiteral("A"), QStringLiteral("B")}},
        {"no end", "\tA\r\n\tB", {QStringLiteral("A"), QStringLiteral("B")}},
        {"LF CR", "\tA\n\r\tB", {QString(), QStringLiteral("A"), QStringLiteral("B")}},
        {"blank line", "\tA\r\n\r\n\tB\r\n", {QString(), QStringLiteral("A"), QStringLiteral("B")}},
        {"NUL", QByteArray("\tA\r\n\tB\0\tC\r\n", 11), {QStringLiteral("A"), QStringLiteral("B")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(load("barcode\ttitolo\r\n" + c.body), QString());
        QStringList titles;
        for (int i = 0; i < table.recordCount(); ++i)
            titles << text(i, Field::Titolo);
        EXPECT_EQ(titles, c.titles);
    }
}

TEST_F(DataFileTest, SplitsValuesAtTabs)
{
    EXPECT_EQ(load("titolo\tautore\tcasaedi\r\nT1\tA1\t\r\nT2\t\tC2\r\n\tA3\r\n"), QString());
    ASSERT_EQ(table.recordCount(), 3);
    // The row without a title comes first.
    EXPECT_EQ(text(0, Field::Autore), QStringLiteral("A3"));
    EXPECT_EQ(text(1, Field::Autore), QStringLiteral("A1"));
    EXPECT_EQ(text(1, Field::Casaedi), QString());
    EXPECT_EQ(text(2, Field::Autore), QString());
    EXPECT_EQ(text(2, Field::Casaedi), QStringLiteral("C2"));
}

TEST_F(DataFileTest, MatchesColumnsByNameWithoutCase)
{
    EXPECT_EQ(load("NUMSCAD\tTitolo\tRecId\tISBN\tprezzo\tPREZZO\r\n"
                   "111\tUNO\t99\t978\t1,00\t\r\n"
                   "222\tDUE\t98\t979\t2,00\t3,00\r\n"),
        QString());
    EXPECT_EQ(text(0, Field::Titolo), QStringLiteral("DUE"));
    EXPECT_EQ(text(0, Field::NumScad), QStringLiteral("222"));
    EXPECT_EQ(text(0, Field::Prezzo), QStringLiteral("3,00")); // the later non-empty value
    EXPECT_EQ(text(1, Field::Prezzo), QStringLiteral("1,00"));
    // RecId is the table's own; ISBN is no field and is not written back.
    EXPECT_EQ(std::get<qint32>(table.value(table.rowAt(1), Field::RecId)), 1);
    EXPECT_TRUE(save().startsWith(header));
}

TEST_F(DataFileTest, EmptyValuesAndMissingColumnsGetTheDefaults)
{
    EXPECT_EQ(
        load("titolo\tannopubblicazione\tnpagine\tprezzo\tcosto\r\nX\t\t\t\t\r\nY\r\n"), QString());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(text(i, Field::AnnoPubblicazione), QStringLiteral("01/01/1900"));
        EXPECT_EQ(text(i, Field::NPagine), QStringLiteral("0"));
        EXPECT_EQ(text(i, Field::Prezzo), QStringLiteral("0,00"));
        EXPECT_EQ(text(i, Field::NumScad), QStringLiteral("050412183005"));
        EXPECT_FALSE(table.isNull(table.rowAt(i), Field::Autore));
    }
}

TEST_F(DataFileTest, EqualTitlesKeepTheirFileOrder)
{
    EXPECT_EQ(load("barcode\ttitolo\r\n1\tB\r\n2\tA\r\n3\tB\r\n4\tA\r\n5\tB\r\n"), QString());
    QStringList codes;
    for (int i = 0; i < table.recordCount(); ++i)
        codes << text(i, Field::Barcode);
    EXPECT_EQ(codes.join(u','), QStringLiteral("2,4,1,3,5"));
    EXPECT_EQ(table.currentPosition(), 0);
}

TEST_F(DataFileTest, FileWithoutLinesLeavesTheTableAlone)
{
    addBook(QStringLiteral("KEPT"));
    EXPECT_EQ(load(QByteArray()), QString());
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(load(QByteArray("\0barcode\r\n", 10)), QString());
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(load(header), QString()); // the header alone: an empty catalogue
    EXPECT_EQ(table.recordCount(), 0);
}

TEST_F(DataFileTest, FailuresStopTheLoadWithTheirMessage)
{
    const struct
    {
        QByteArray line;
        const char16_t* message;
    } cases[] = {
        {"A\tA\t\t\t\t\t\t\t\t\t\t\t\t\tEXTRA\r\n", u"List index out of bounds (14)"},
        {"A\tA\t\t\t\t12/31/2005\r\n", u"'12/31/2005' is not a valid date"},
        {"A\tA\t\t\t\t31/02/2001\r\n", u"'31/02/2001' is not a valid date"},
        {"A\tA\t\t\t\t\t\t\t\t\t12.50\r\n",
            u"'12.50' is not a valid floating point value for field 'prezzo'"},
        {"A\tA\t\t\t\t\t\t\t\t\t1.234,00\r\n",
            u"'1.234,00' is not a valid floating point value for field 'prezzo'"},
        {"A\tA\t\t\t\t\t\t99999999999\r\n",
            u"'99999999999' is not a valid integer value for field 'npagine'"},
        {"A\tA\t\t\t\t\t\tdodici\r\n",
            u"'dodici' is not a valid integer value for field 'npagine'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        QSignalSpy reset(&table, &CatalogueTable::rowsReset);
        const QByteArray file = header + "B1\tBEFORE\r\n" + c.line + "B3\tAFTER\r\n";
        EXPECT_EQ(load(file), QString::fromUtf16(c.message));
        // The rows stored before the failing line stay; the views hear of them.
        ASSERT_EQ(table.recordCount(), 1);
        EXPECT_EQ(text(0, Field::Titolo), QStringLiteral("BEFORE"));
        EXPECT_EQ(table.state(), CatalogueTable::State::Browse);
        EXPECT_EQ(reset.size(), 1);
    }
}

TEST_F(DataFileTest, TrailingTabAddsNoValue)
{
    const QByteArray fourteen = "A\tA\t\t\t\t\t\t\t\t\t\t\t\t0\t\r\n";
    EXPECT_EQ(load(header + fourteen), QString());
    EXPECT_EQ(table.recordCount(), 1);
}

TEST_F(DataFileTest, UnreadableFileLeavesTheTableAlone)
{
    addBook(QStringLiteral("KEPT"));
    QDir(dir.path()).mkdir(QStringLiteral("folder.dat"));
    const QString folder = path("folder.dat");
    const QString message = errorOf([&] { table.LoadDataFile(folder); });
    const QString prefix = QStringLiteral("Cannot open file \"%1\". ").arg(folder);
    EXPECT_TRUE(message.startsWith(prefix) && message.size() > prefix.size())
        << message.toStdString();
    EXPECT_EQ(errorOf([&] { table.LoadDataFile(path("missing.dat")); }),
        QStringLiteral("Cannot open file \"%1\". No such file or directory")
            .arg(path("missing.dat")));
    EXPECT_EQ(table.recordCount(), 1);
}

TEST_F(DataFileTest, FileWithoutReadPermission)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    addBook(QStringLiteral("KEPT"));
    writeFile(path(), header);
    QFile::setPermissions(path(), QFileDevice::WriteOwner);
    EXPECT_EQ(errorOf([&] { table.LoadDataFile(path()); }),
        QStringLiteral("Cannot open file \"%1\". Permission denied").arg(path()));
    EXPECT_EQ(table.recordCount(), 1);
}

TEST_F(DataFileTest, SavesAnEmptyTableAsTheHeaderAlone)
{
    EXPECT_EQ(save(), header);
}

TEST_F(DataFileTest, AmountsAreWrittenRoundedToTwoDecimals)
{
    addBook({{Field::Titolo, QStringLiteral("X")}, {Field::Prezzo, QStringLiteral("9,999")},
        {Field::Costo, QStringLiteral("0,125")}});
    EXPECT_TRUE(save().contains("\t10,00\t0,13\t"));
    EXPECT_EQ(load(save()), QString());
    EXPECT_EQ(std::get<double>(table.value(Field::Prezzo)), 10.0);
}

TEST_F(DataFileTest, NullValuesAreWrittenEmpty)
{
    table.append();
    for (const FieldDef& def : allFields()) {
        if (def.isStored())
            table.clear(def.field);
    }
    table.post();
    EXPECT_EQ(save(), header + QByteArray(13, '\t') + "\r\n");
}

// Values that would split or shift their row are written with spaces.
TEST_F(DataFileTest, TabsAndLineBreaksInsideValuesNeverBreakTheRow)
{
    addBook({{Field::Titolo, QStringLiteral("Tab\there")},
        {Field::Note, QStringLiteral("riga 1\r\nriga 2\nriga 3\rriga 4\n\rfine")},
        {Field::Autore, QString::fromUtf16(u"nul\u0000x", 5)}});
    const QByteArray saved = save();
    EXPECT_TRUE(saved.contains("\tTab here\tnul x\t")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\triga 1 riga 2 riga 3 riga 4  fine\t"));
    EXPECT_EQ(saved.count("\r\n"), 2);
    EXPECT_EQ(load(saved), QString());
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.displayText(Field::NumScad), QStringLiteral("050412183005"));
}

TEST_F(DataFileTest, SaveKeepsTheCurrentRowAndStoresAChangedPendingRow)
{
    addBook(QStringLiteral("A"));
    const RowId b = addBook(QStringLiteral("B"));
    table.append();
    table.setText(Field::Titolo, QStringLiteral("C"));
    save();
    EXPECT_EQ(table.recordCount(), 3);
    table.moveToRow(b);
    save();
    EXPECT_EQ(table.currentRow(), b);
}

// A write that fails part-way leaves the file as it was.
TEST_F(DataFileTest, FailedWriteLeavesThePreviousFile)
{
    const QByteArray previous = header + "OLD\tOLD\r\n";
    writeFile(path(), previous);
    for (int i = 0; i < 2000; ++i)
        addBook(QStringLiteral("Book %1").arg(i));

    QString message;
    TestEnvironment::withFileSizeLimit(
        4096, [&] { message = errorOf([&] { table.SaveDataFile(path()); }); });

    EXPECT_EQ(message, QStringLiteral("Stream write error"));
    EXPECT_EQ(readFile(path()), previous);
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("Librdata.dat")});
}

TEST_F(DataFileTest, FileThatCannotBeCreated)
{
    const QString target = dir.filePath(QStringLiteral("missing/Librdata.dat"));
    const QString message = errorOf([&] { table.SaveDataFile(target); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(target)))
        << message.toStdString();
    EXPECT_FALSE(message.endsWith(u'.'));
}
