// Malformed data files: each gets a clear message or a sound load; none
// crashes, hangs or loses rows silently.
#include "catalogfixture.h"
#include "error.h"
#include "testenvironment.h"

namespace {

const QByteArray header = "barcode\ttitolo\tautore\tcasaedi\targomento\tannopubblicazione\t"
                          "collana\tnpagine\tlingua\tformato\tprezzo\tcosto\tnote\tNumScad\r\n";

} // namespace

class BadDataFileTest : public CatalogueFixture
{
protected:
    QString load(const QByteArray& bytes)
    {
        try {
            table.loadFromBytes(bytes);
        } catch (const Error& error) {
            return error.message();
        }
        return QString();
    }
};

TEST_F(BadDataFileTest, HighBytesRoundTripAndNulEndsTheText)
{
    QByteArray high;
    for (int byte = 0x80; byte < 0x100; ++byte)
        high.append(char(byte));
    const QByteArray file = header + high.left(20) + '\t' + high.mid(20, 70)
        + "\t\t\t\t01/01/1900\t\t0\t\t\t0,00\t0,00\t" + high.mid(90) + "\t1\r\n";
    EXPECT_EQ(load(file), QString());
    EXPECT_EQ(table.saveToBytes(), file);

    EXPECT_EQ(load(header + QByteArray("AB\0CD\tX\r\nNEXT\r\n", 15)), QString());
    ASSERT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.displayText(Field::Barcode), QStringLiteral("AB"));
}

TEST_F(BadDataFileTest, TenMegabyteLine)
{
    const QByteArray huge(10 << 20, 'x');
    EXPECT_EQ(load(header + huge + "\r\n"), QString());
    EXPECT_EQ(table.displayText(Field::Barcode), QString(20, u'x'));

    // A huge value that is no number: the message quotes its beginning.
    const QString message = load(header + "\t\t\t\t\t\t\t" + huge + "\r\n");
    EXPECT_TRUE(message.startsWith(QStringLiteral("'xxxx"))) << message.left(80).toStdString();
    EXPECT_TRUE(
        message.endsWith(QStringLiteral("...' is not a valid integer value for field 'npagine'")));
    EXPECT_LT(message.size(), 300);
}

TEST_F(BadDataFileTest, MillionEmptyLinesGiveMillionDefaultRows)
{
    QByteArray file = header;
    file.append(QByteArray(1000000, '\n'));
    EXPECT_EQ(load(file), QString());
    EXPECT_EQ(table.recordCount(), 1000000);
    EXPECT_EQ(table.displayText(table.rowAt(999999), Field::AnnoPubblicazione),
        QStringLiteral("01/01/1900"));
}

TEST_F(BadDataFileTest, HeaderOfTenThousandNames)
{
    QByteArray names, values;
    for (int i = 0; i < 10000; ++i) {
        names += "col" + QByteArray::number(i) + '\t';
        values += QByteArray::number(i) + '\t';
    }
    EXPECT_EQ(load(names + "titolo\r\n" + values + "TITLE\r\n"), QString());
    ASSERT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.displayText(Field::Titolo), QStringLiteral("TITLE"));
    EXPECT_TRUE(table.saveToBytes().startsWith(header));
}

TEST_F(BadDataFileTest, AmountsWithGroupingOrExponent)
{
    EXPECT_EQ(load(header + "\tA\t\t\t\t\t\t\t\t\t1,5E2\t2e-1\r\n"), QString());
    EXPECT_EQ(std::get<double>(table.value(Field::Prezzo)), 150.0);
    EXPECT_EQ(std::get<double>(table.value(Field::Costo)), 0.2);
    EXPECT_EQ(load(header + "\tA\t\t\t\t\t\t\t\t\t1.500,00\r\n"),
        QStringLiteral("'1.500,00' is not a valid floating point value for field 'prezzo'"));
    EXPECT_EQ(load(header + "\tA\t\t\t\t\t\t\t\t\t1e999\r\n"),
        QStringLiteral("'1e999' is not a valid floating point value for field 'prezzo'"));
}

TEST_F(BadDataFileTest, ImpossibleDatesAndNumbers)
{
    for (const char* value : {"31/02/2001", "29/02/1900", "00/00/0000", "1/13/2000"}) {
        EXPECT_EQ(load(header + "\tA\t\t\t\t" + value + "\r\n"),
            QStringLiteral("'%1' is not a valid date").arg(QString::fromLatin1(value)));
    }
    EXPECT_EQ(load(header + "\tA\t\t\t\t29/02/2000\r\n"), QString());
    EXPECT_EQ(load(header + "\tA\t\t\t\t\t\t99999999999\r\n"),
        QStringLiteral("'99999999999' is not a valid integer value for field 'npagine'"));
}
