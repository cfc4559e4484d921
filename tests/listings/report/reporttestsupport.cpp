#include "reporttestsupport.h"

#include "catalogtable.h"

#include <QFont>

void registerReportFonts()
{
    const QString family = QStringLiteral("Courier New");
    const QString replacement = QStringLiteral("Liberation Mono");
    if (!QFont::substitutes(family).contains(replacement))
        QFont::insertSubstitution(family, replacement);
}

QImage printerResolutionDevice()
{
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = int(1200 / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void addPlainBooks(CatalogueTable& table, int count, int from)
{
    for (int i = from; i < from + count; ++i) {
        table.append();
        table.setText(Field::Titolo, QStringLiteral("Libro %1").arg(i, 4, 10, QChar(u'0')));
        table.setText(Field::Barcode, QStringLiteral("978%1").arg(i));
        table.setText(Field::Autore, QStringLiteral("Autore %1").arg(i));
        table.setText(Field::Casaedi, QStringLiteral("Einaudi"));
        table.post();
    }
}

void loadPlainBooks(CatalogueTable& table, int count)
{
    QByteArray bytes = "barcode\ttitolo\tautore\tcasaedi\targomento\tannopubblicazione\tcollana\t"
                       "npagine\tlingua\tformato\tprezzo\tcosto\tnote\tNumScad\r\n";
    for (int i = 1; i <= count; ++i) {
        const QByteArray n = QByteArray::number(i).rightJustified(7, '0');
        bytes += "978" + n + "\tLibro " + n + "\tAutore " + n
            + "\tEinaudi\tStoria\t01/02/2003\tSuper ET\t120\tITALIANO\tCARTACEO\t12,50\t8,00\t\t"
              "050412183005\r\n";
    }
    table.loadFromBytes(bytes);
}

int pdfPageCount(const QByteArray& pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"));
}
