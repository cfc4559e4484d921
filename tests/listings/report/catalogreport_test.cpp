#include "catalogfixture.h"
#include "pagerenderer.h"
#include "reporttestsupport.h"
#include "textmeasurer.h"
#include "ufqrstscad.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CatalogueReport : public CatalogueFixture
{
protected:
    CatalogueReport()
        : form(table)
    {
        registerReportFonts();
    }

    void generate() { ASSERT_TRUE(form.report().generate(pages, device, {})); }

    // The lines an item shows in each block of a page, joined with "|".
    QStringList shown(int page, const QString& name)
    {
        QStringList texts;
        for (const PlacedElement& element : elementsNamed(pages, page, name))
            texts << element.lines.join(u'|');
        return texts;
    }

    int blocksOn(int page)
    {
        return int(elementsNamed(pages, page, QStringLiteral("QRBand2")).size());
    }

    double lineHeight() const
    {
        return TextMeasurer(ReportFont {}.toQFont(), printerResolutionDevice()).lineHeight();
    }

    TFFQRSTSCAD form;
    QImage device = printerResolutionDevice();
    PageStore pages;
};

TEST_F(CatalogueReport, Page1Holds13BlocksAndLaterPages15)
{
    const struct
    {
        int books;
        std::vector<int> blocks;
    } cases[] = {{1, {1}}, {13, {13}}, {14, {13, 1}}, {28, {13, 15}}, {29, {13, 15, 1}}};
    for (const auto& c : cases) {
        table.close();
        table.open();
        addPlainBooks(table, c.books);
        generate();
        std::vector<int> blocks;
        for (int page = 0; page < pages.pageCount(); ++page)
            blocks.push_back(blocksOn(page));
        EXPECT_EQ(blocks, c.blocks) << c.books << " books";
    }
    // Blocks of a later page start at the top margin, 18.0 mm apart.
    std::vector<double> tops;
    for (int i = 0; i < 15; ++i)
        tops.push_back(100 + 180 * i);
    EXPECT_EQ(topsInTenths(pages, 1, QStringLiteral("QRBand2")), tops);
}

struct Placement
{
    const char* item;
    double left; // tenths of a millimetre from the paper's corner
    double top;
    double width; // 0: fits its text
    double height;
    double points;
    bool bold;
    bool underline;
    bool grey;
    ReportAlignment alignment;
};

// Every item as it lands on page 1: the title band at the top margin, the
// first block under it at 42.5 mm, both at the left margin.
const Placement placements[] = {
    {"QRLTipo", 100.0, 192.6, 2002.9, 50.3, 12, true, false, false, ReportAlignment::Centre},
    {"QRShape2", 100.0, 248.2, 1907.6, 23.8, 0, false, false, true, ReportAlignment::Left},
    {"QRLabel2", 105.3, 269.3, 314.9, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel3", 444.0, 269.3, 124.4, 45.0, 8, false, true, true, ReportAlignment::Left},
    {"QRLabel4", 1645.2, 269.3, 0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel11", 444.0, 317.0, 124.4, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel10", 1348.8, 317.0, 172.0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel8", 1645.2, 317.0, 0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel9", 1348.8, 359.3, 0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel12", 444.0, 361.9, 272.5, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel15", 819.7, 361.9, 0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel17", 1057.8, 361.9, 251.4, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRLabel18", 1645.2, 361.9, 0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRShape1", 100.0, 401.6, 1907.6, 23.8, 0, false, false, true, ReportAlignment::Left},
    {"QRDBText3", 105.3, 425.0, 314.9, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText1", 444.0, 425.0, 1182.7, 45.0, 8, true, true, false, ReportAlignment::Left},
    {"QRDBText4", 1645.2, 425.0, 341.3, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText6", 444.0, 467.3, 865.2, 45.0, 8, true, false, false, ReportAlignment::Left},
    {"QRDBText7", 1348.8, 467.3, 277.8, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText9", 1645.2, 467.3, 341.3, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText2", 444.0, 509.7, 336.0, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText8", 819.7, 509.7, 150.8, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText11", 1057.8, 509.7, 251.4, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText12", 1348.8, 509.7, 277.8, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRDBText13", 1645.2, 509.7, 341.3, 45.0, 8, false, false, false, ReportAlignment::Left},
    {"QRLabel5", 317.0, 552.0, 0, 45.0, 8, false, false, true, ReportAlignment::Left},
    {"QRDBText18", 444.0, 552.0, 1542.5, 45.0, 8, false, false, false, ReportAlignment::Left},
};

TEST_F(CatalogueReport, PlacesEveryItemOfTheTemplate)
{
    addPlainBooks(table, 1);
    generate();
    int items = 0;
    for (const Placement& p : placements) {
        const QString name = QString::fromLatin1(p.item);
        const std::vector<PlacedElement> found = elementsNamed(pages, 0, name);
        ASSERT_EQ(found.size(), 1u) << p.item;
        const PageBox& box = found[0].box;
        EXPECT_DOUBLE_EQ(box.left / 10.0, p.left) << p.item;
        EXPECT_DOUBLE_EQ(box.top / 10.0, p.top) << p.item;
        if (p.width > 0) {
            EXPECT_DOUBLE_EQ(box.width / 10.0, p.width) << p.item;
        }
        EXPECT_DOUBLE_EQ(box.height / 10.0, p.height) << p.item;
        const ElementStyle& style = pages.styles()[std::size_t(found[0].style)];
        EXPECT_EQ(style.colour, p.grey ? QColor(128, 128, 128) : QColor(Qt::black)) << p.item;
        EXPECT_EQ(style.alignment, p.alignment) << p.item;
        if (p.points > 0) {
            EXPECT_EQ(style.kind, ElementKind::Text) << p.item;
            EXPECT_EQ(style.font.family(), QStringLiteral("Courier New")) << p.item;
            EXPECT_EQ(style.font.pointSizeF(), p.points) << p.item;
            EXPECT_EQ(style.font.bold(), p.bold) << p.item;
            EXPECT_EQ(style.font.underline(), p.underline) << p.item;
            EXPECT_FALSE(style.font.italic()) << p.item;
        } else {
            EXPECT_EQ(style.kind, ElementKind::Line) << p.item;
            EXPECT_EQ(style.lineWidth, 2) << p.item;
        }
        ++items;
    }
    // The bands, and nothing else.
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("QRBand1")), std::vector<double>({100}));
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("QRBand2")), std::vector<double>({425}));
    EXPECT_EQ(pages.content(0).elements.size(), std::size_t(items + 2));
    const PlacedElement band = elementsNamed(pages, 0, QStringLiteral("QRBand2")).at(0);
    EXPECT_EQ(band.box, (PageBox {1000, 4250, 18997, 1799}));
}

TEST_F(CatalogueReport, HeadingAndCaptionsStandOnPage1Only)
{
    addPlainBooks(table, 20);
    generate();
    ASSERT_EQ(pages.pageCount(), 2);
    EXPECT_EQ(
        shown(0, QStringLiteral("QRLTipo")), QStringList {QStringLiteral("STAMPA LIBRI: Totale")});
    const QStringList captions = {QStringLiteral("Codice"), QStringLiteral("TITOLO"),
        QStringLiteral("ARGOMENTO"), QStringLiteral("Autore"), QStringLiteral("Lingua"),
        QStringLiteral("COLLANA"), QStringLiteral("Data pub."), QStringLiteral("Formato"),
        QStringLiteral("N.Pagine"), QStringLiteral("Prezzo"), QStringLiteral("CASA EDITRICE")};
    QStringList onPage1;
    for (const char* name : {"QRLabel2", "QRLabel3", "QRLabel4", "QRLabel11", "QRLabel10",
             "QRLabel8", "QRLabel9", "QRLabel12", "QRLabel15", "QRLabel17", "QRLabel18"})
        onPage1 << shown(0, QString::fromLatin1(name));
    EXPECT_EQ(onPage1, captions);
    for (const PlacedElement& element : pages.content(1).elements) {
        const ElementStyle& style = pages.styles()[std::size_t(element.style)];
        EXPECT_FALSE(form.QRBand1.name == style.name
            || std::any_of(form.QRBand1.items.begin(), form.QRBand1.items.end(),
                [&](const ReportItem* item) { return item->name == style.name; }))
            << style.name.toStdString();
    }
}

TEST_F(CatalogueReport, SeveralLinesOfNotesPushTheNextBlockDown)
{
    addPlainBooks(table, 3);
    table.first();
    table.edit();
    table.setText(Field::Note, QStringLiteral("Prima riga\r\nSeconda riga\r\nTerza riga"));
    table.post();
    generate();
    EXPECT_EQ(shown(0, QStringLiteral("QRDBText18")).at(0),
        QStringLiteral("Prima riga|Seconda riga|Terza riga"));
    const double second = 425 + std::lround((17.99 + 2 * lineHeight()) * 10);
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("QRBand2")),
        std::vector<double>({425, second, second + 180}));
}

TEST_F(CatalogueReport, NotesReachingTheBottomContinueOnTheNextPageAlone)
{
    addPlainBooks(table, 14);
    table.moveTo(12); // the last block of page 1
    table.edit();
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines << QStringLiteral("Riga %1 delle note").arg(i);
    table.setText(Field::Note, lines.join(QStringLiteral("\r\n")));
    table.post();
    generate();
    ASSERT_EQ(pages.pageCount(), 2);

    const QStringList first = shown(0, QStringLiteral("QRDBText18")).last().split(u'|');
    const std::vector<PlacedElement> continued
        = elementsNamed(pages, 1, QStringLiteral("QRDBText18"));
    ASSERT_EQ(continued.size(), 2u);
    // 12.70 mm below the top margin, the rest of the lines.
    EXPECT_DOUBLE_EQ(continued[0].box.top / 10.0, 227.0);
    EXPECT_EQ(first + continued[0].lines, lines);
    EXPECT_GT(first.size(), 1);
    // Without the other items of that book: only the next book's block has them.
    EXPECT_EQ(shown(1, QStringLiteral("QRDBText1")), QStringList {QStringLiteral("Libro 0014")});
    EXPECT_EQ(shown(1, QStringLiteral("QRLabel5")).size(), 1);
    const double next
        = 100 + std::lround((17.99 + (continued[0].lines.size() - 1) * lineHeight()) * 10);
    EXPECT_EQ(topsInTenths(pages, 1, QStringLiteral("QRDBText1")), std::vector<double>({next}));
}

struct LongValue
{
    Field field;
    const char* item;
    QString text;
    QString shown;
};

TEST_F(CatalogueReport, ValuesTooLongForTheirBoxShowTheirFirstLineOnly)
{
    const LongValue cases[] = {
        {Field::Casaedi, "QRDBText13", QStringLiteral("Casa Editrice Libraria Ulrico Hoepli"),
            QStringLiteral("Casa Editrice ")},
        {Field::Argomento, "QRDBText4", QStringLiteral("Societ\u00E0 e attualit\u00E0 nel mondo"),
            QStringLiteral("Societ\u00E0 e attualit\u00E0 ")},
        {Field::Collana, "QRDBText9", QStringLiteral("Piccola Biblioteca Adelphi"),
            QStringLiteral("Piccola Biblioteca ")},
        // A code without spaces: the characters that fit (18 of 20).
        {Field::Barcode, "QRDBText3", QStringLiteral("97888045123456789012"),
            QStringLiteral("978880451234567890")},
    };
    addPlainBooks(table, 1);
    table.first();
    table.edit();
    for (const LongValue& c : cases)
        table.setText(c.field, c.text);
    table.post();
    generate();
    for (const LongValue& c : cases)
        EXPECT_EQ(shown(0, QString::fromLatin1(c.item)), QStringList {c.shown}) << c.item;
}

TEST_F(CatalogueReport, MissingValuesPrintNothingAndAZeroPricePrintsZero)
{
    addBook({{Field::Titolo, QStringLiteral("A senza valori")}, {Field::Prezzo, QString()},
        {Field::AnnoPubblicazione, QString()}, {Field::NPagine, QString()}});
    addBook({{Field::Titolo, QStringLiteral("B con valori")}, {Field::Prezzo, QStringLiteral("0")},
        {Field::AnnoPubblicazione, QStringLiteral("12/04/2005")},
        {Field::NPagine, QStringLiteral("320")}});
    generate();
    EXPECT_EQ(
        shown(0, QStringLiteral("QRDBText11")), QStringList({QString(), QStringLiteral("0,00")}));
    EXPECT_EQ(shown(0, QStringLiteral("QRDBText12")),
        QStringList({QString(), QStringLiteral("12/04/2005")}));
    EXPECT_EQ(
        shown(0, QStringLiteral("QRDBText8")), QStringList({QString(), QStringLiteral("320")}));
}

TEST_F(CatalogueReport, PrintsEveryBookInTheTablesOwnOrderAndLeavesItOnTheLast)
{
    for (const char* title : {"zeta", "Alfa", "beta", "Beta", "alfa", "Gamma"})
        addBook(QString::fromLatin1(title));
    table.first();
    generate();
    QStringList expected;
    for (int i = 0; i < table.recordCount(); ++i)
        expected << table.displayText(table.rowAt(i), Field::Titolo);
    EXPECT_EQ(shown(0, QStringLiteral("QRDBText1")), expected);
    EXPECT_EQ(table.currentPosition(), table.recordCount() - 1);
}

TEST_F(CatalogueReport, TheWalkKeepsItsPlaceWhenTheCursorIsMovedMeanwhile)
{
    addPlainBooks(table, 40);
    Report::Handlers handlers;
    // What the main window's grid does when the user clicks a row while the
    // preview lets events run.
    // Pages 1 and 2 are finished while books remain.
    handlers.pageFinished = [this](int page) {
        if (page < 2)
            table.moveTo(0);
    };
    ASSERT_TRUE(form.report().generate(pages, device, handlers));
    QStringList printed;
    for (int page = 0; page < pages.pageCount(); ++page)
        printed << shown(page, QStringLiteral("QRDBText1"));
    QStringList expected;
    for (int i = 0; i < table.recordCount(); ++i)
        expected << table.displayText(table.rowAt(i), Field::Titolo);
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(table.currentPosition(), 39);
}

TEST_F(CatalogueReport, AnEmptyTableGivesOnePageShowingOnlyNote)
{
    generate();
    ASSERT_EQ(pages.pageCount(), 1);
    EXPECT_EQ(
        shown(0, QStringLiteral("QRLTipo")), QStringList {QStringLiteral("STAMPA LIBRI: Totale")});
    EXPECT_EQ(blocksOn(0), 1);
    for (const ReportItem* item : form.QRBand2.items) {
        const QStringList lines = shown(0, item->name);
        ASSERT_EQ(lines.size(), 1) << item->name.toStdString();
        EXPECT_EQ(lines[0], item == &form.QRLabel5 ? QStringLiteral("NOTE:") : QString())
            << item->name.toStdString();
    }
}

TEST_F(CatalogueReport, AFullPageOfTheLongestValuesStaysSmall)
{
    for (int i = 0; i < 40; ++i) {
        table.append();
        table.setText(Field::Titolo, QStringLiteral("%1 ").arg(i, 3, 10, QChar(u'0')).repeated(20));
        for (const Field field : {Field::Barcode, Field::Autore, Field::Casaedi, Field::Argomento,
                 Field::Collana, Field::Lingua, Field::Formato})
            table.setText(field, QStringLiteral("\u20AC\u00E0 ").repeated(20));
        table.setText(Field::Note, QStringLiteral("\u201Cnota\u201D ").repeated(70));
        table.post();
    }
    generate();
    ASSERT_GT(pages.pageCount(), 2);
    for (int page = 0; page < pages.pageCount(); ++page)
        EXPECT_LE(pages.encodedPage(page).size(), 40 * 1024) << page;
    EXPECT_LE(pages.memoryBytes() / std::size_t(pages.pageCount()), 40u * 1024);
}

class CataloguePrint : public CatalogueReport
{
protected:
    QByteArray printToPdf()
    {
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        QFile::remove(path);
        QPrinter& printer = form.report().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        form.report().print(nullptr);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(CataloguePrint, PrintsEveryPageOrTheRangeChosenAsTheJobOfTheTitle)
{
    addPlainBooks(table, 29);
    EXPECT_EQ(pdfPageCount(printToPdf()), 3);
    EXPECT_EQ(form.report().printer().docName(), QStringLiteral("STAMPA LIBRI"));

    QPrinter& printer = form.report().printer();
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    EXPECT_EQ(pdfPageCount(printToPdf()), 2);
    // The printing walked the table anew.
    EXPECT_EQ(table.currentPosition(), 28);
}

TEST_F(CataloguePrint, DoesNothingWithoutAPrinter)
{
    addPlainBooks(table, 2);
    QPrinter& printer = form.report().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    ASSERT_FALSE(form.report().canPrint());
    table.first();
    form.report().print(nullptr);
    EXPECT_EQ(table.currentPosition(), 0);
}

TEST_F(CatalogueReport, PagesAreDrawnWhereTheirTextsAre)
{
    addPlainBooks(table, 14);
    generate();
    constexpr int dpi = 100;
    for (int page = 0; page < 2; ++page) {
        QImage image(827, 1170, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
        image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
        image.fill(Qt::white);
        QPainter painter(&image);
        PageRenderer(pages).renderActualSize(painter, page);
        painter.end();
        auto ink = [&](const PageBox& box) {
            int count = 0;
            for (int y = box.top * dpi / 2540; y < box.bottom() * dpi / 2540; ++y) {
                for (int x = box.left * dpi / 2540;
                     x < box.right() * dpi / 2540 && x < image.width(); ++x)
                    count += qGray(image.pixel(x, y)) < 160;
            }
            return count;
        };
        const PlacedElement title = elementsNamed(pages, page, QStringLiteral("QRDBText1")).at(0);
        EXPECT_GT(ink(title.box), 30) << page;
        const PlacedElement series = elementsNamed(pages, page, QStringLiteral("QRDBText9")).at(0);
        EXPECT_EQ(ink(series.box), 0) << page; // no series
        if (page == 0) {
            EXPECT_GT(ink(elementsNamed(pages, 0, QStringLiteral("QRLTipo")).at(0).box), 30);
        }
    }
}

} // namespace
