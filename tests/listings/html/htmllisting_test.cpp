// The HTML listing of the main window's grid: the table laid out from the
// grid's bands, headers, rows and groups, its classes, and the page written.
#include "bandedtableview.h"
#include "catalogfixture.h"
#include "cellstyle.h"
#include "codepage.h"
#include "error.h"
#include "htmllisting.h"
#include "maingrid.h"
#include "testenvironment.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <vector>

using TestEnvironment::readFile;

namespace {

struct Book
{
    QString titolo;
    QString autore;
    QString lingua;
    QString argomento;
};

class HtmlListingTest : public CatalogueFixture
{
protected:
    HtmlListingTest()
        : view(table)
    {
        rememberDefaultCellStyleColours(TestEnvironment::palette());
        configureMainGrid(view);
    }

    int column(Field field) const { return view.layout().columnOf(field); }
    QString path() const { return dir.filePath(QStringLiteral("LibrLst.html")); }

    void addBooks(std::initializer_list<Book> books)
    {
        for (const Book& b : books) {
            addBook({{Field::Titolo, b.titolo}, {Field::Autore, b.autore},
                {Field::Lingua, b.lingua}, {Field::Argomento, b.argomento}});
        }
    }

    // Four books in two languages, three authors.
    void addFourBooks()
    {
        addBooks({{u"A"_qs, u"Eco"_qs, u"Italiano"_qs, u"Romanzo"_qs},
            {u"B"_qs, u"Orwell"_qs, u"Inglese"_qs, u"Distopia"_qs},
            {u"C"_qs, u"Calvino"_qs, u"Italiano"_qs, u"Fiabe"_qs},
            {u"D"_qs, u"Eco"_qs, u"Italiano"_qs, u"Saggio"_qs}});
    }

    // The expected page of the test data folder, with the path as its title.
    QByteArray expectedPage(const QString& name) const
    {
        QByteArray page = readFile(TestEnvironment::testDataPath(name));
        return page.replace("@PATH@", CodePage::windows1252().encode(path()));
    }

    BandedTableView view;
};

// The right edges of the table's columns.
std::vector<int> boundaries(const ListingTable& table)
{
    std::vector<int> edges;
    int position = 0;
    for (const int width : table.columnWidths())
        edges.push_back(position += width);
    return edges;
}

// The written cells of a table row: text (or "." when empty), with "/span"
// when it spans more than one column.
QStringList rowCells(const ListingTable& table, int row)
{
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.isCovered(c, row))
            continue;
        const ListingCell cell = table.cell(c, row);
        QString text = cell.text.isEmpty() ? u"."_qs : cell.text;
        if (cell.columnSpan > 1)
            text += u'/' + QString::number(cell.columnSpan);
        cells << text;
    }
    return cells;
}

// What each table row after the headers is, as one short line:
// "G<level> <sign> <text>" for a group row, "D<indent> <first text>" for a
// row of a book and "F<indent>" for a row without texts (a group footer).
// The indent counts the cells at the left that have neither a top nor a
// bottom border.
QStringList rowLabels(const HtmlListing& listing)
{
    const ListingTable& table = listing.table;
    QStringList labels;
    for (int r = 3; r < table.rowCount(); ++r) {
        int indent = 0;
        while (indent < table.columnCount()) {
            const CellStyle style = listing.registry.style(table.styleNumber(indent, r));
            if (table.isCovered(indent, r) || !table.cell(indent, r).text.isEmpty()
                || style.border(BorderSide::Top).width != 0
                || style.border(BorderSide::Bottom).width != 0)
                break;
            ++indent;
        }
        const QString sign = indent < table.columnCount() ? table.cell(indent, r).text : QString();
        if (sign == u"-" || sign == u"+") {
            const ListingCell text = table.cell(indent + 1, r);
            labels << u"G%1 %2 %3"_qs.arg(indent).arg(sign, text.text)
                    + (indent + 1 + text.columnSpan == table.columnCount() ? u""_qs
                                                                           : u" (short)"_qs);
            continue;
        }
        QString first;
        for (int c = indent; c < table.columnCount() && first.isEmpty(); ++c)
            first = table.cell(c, r).text;
        labels << (first.isEmpty() ? u"F%1"_qs.arg(indent) : u"D%1 %2"_qs.arg(indent).arg(first));
    }
    return labels;
}

} // namespace

TEST_F(HtmlListingTest, TwoBooksMakeTheWholePageByteForByte)
{
    table.append();
    table.setText(Field::Barcode, u"978-88-452"_qs);
    table.setText(Field::Titolo, u"Rosa & spine <vol. 1>"_qs);
    table.setText(Field::Autore, u"Eco, Umberto"_qs);
    table.setText(Field::Casaedi, u"Bompiani"_qs);
    table.setText(Field::Argomento, u"Romanzo"_qs);
    table.setText(Field::AnnoPubblicazione, u"05/03/1980"_qs);
    table.setText(Field::Collana, u"Tascabili"_qs);
    table.setText(Field::NPagine, u"503"_qs);
    table.setText(Field::Lingua, u"Italiano"_qs);
    table.setText(Field::Formato, u"Brossura"_qs);
    table.setText(Field::Prezzo, u"12,5"_qs);
    table.setText(Field::Costo, u"10"_qs);
    table.setText(Field::Note, u"Prima riga\r\nseconda riga"_qs);
    table.post();
    // Defaults of a new book, and a price without a value.
    table.append();
    table.setText(Field::Titolo, u"Zanzibar"_qs);
    table.setText(Field::Autore, u"Niccolò Ammaniti"_qs);
    table.clear(Field::Prezzo);
    table.post();

    WriteHtmlListing(path(), view);
    EXPECT_EQ(readFile(path()), expectedPage(u"html-listing-two-books.html"_qs));
}

TEST_F(HtmlListingTest, OneBookGroupedByLanguageMakesTheWholePageByteForByte)
{
    addBooks({{u"Zanzibar"_qs, u"Eco"_qs, u"Italiano"_qs, QString()}});
    view.groupBy(column(Field::Lingua));

    WriteHtmlListing(path(), view);
    EXPECT_EQ(readFile(path()), expectedPage(u"html-listing-grouped-one-book.html"_qs));
}

TEST_F(HtmlListingTest, StartUpLayoutHasNineColumnsAndElevenClassesForAnyNumberOfBooks)
{
    addFourBooks();
    const HtmlListing listing = buildHtmlListing(view);

    EXPECT_EQ(boundaries(listing.table),
        (std::vector<int> {119, 339, 417, 521, 600, 697, 766, 831, 1578}));
    EXPECT_EQ(listing.table.rowCount(), 3 + 2 * 4);
    const StyleRegistry& registry = listing.registry;
    ASSERT_EQ(registry.count(), 11);
    // The classes that only covered cells use.
    auto widths = [&registry](int number) {
        const CellStyle style = registry.style(number);
        return std::vector<int> {style.border(BorderSide::Left).width,
            style.border(BorderSide::Top).width, style.border(BorderSide::Right).width,
            style.border(BorderSide::Bottom).width};
    };
    CellStyle recordFiller = registry.style(3);
    EXPECT_EQ(widths(3), (std::vector<int> {0, 0, 0, 0}));
    recordFiller.border(BorderSide::Right).width = 1;
    recordFiller.border(BorderSide::Bottom).width = 1;
    EXPECT_EQ(registry.style(7), recordFiller);
    recordFiller.border(BorderSide::Right).width = 0;
    EXPECT_EQ(registry.style(8), recordFiller);
    EXPECT_EQ(registry.style(9), DefaultCellStyle());
    CellStyle headerFiller = registry.style(1);
    headerFiller.border(BorderSide::Right).width = 1;
    EXPECT_EQ(registry.style(10), headerFiller);
    // Written cells use only the band header, the column header and the data
    // cells.
    for (int r = 0; r < listing.table.rowCount(); ++r) {
        for (int c = 0; c < listing.table.columnCount(); ++c) {
            if (!listing.table.isCovered(c, r)) {
                const int number = listing.table.styleNumber(c, r);
                EXPECT_TRUE(number == 0 || number == 2 || (number >= 4 && number <= 6))
                    << "cell " << c << "," << r << " has class " << number;
            }
        }
    }
}

TEST_F(HtmlListingTest, EveryBookFilteredOutLeavesTheHeadersAndFiveClasses)
{
    addFourBooks();
    view.setFilter([](RowId) { return false; }, u"nessuno"_qs);
    WriteHtmlListing(path(), view);
    const HtmlListing listing = buildHtmlListing(view);

    EXPECT_EQ(listing.table.rowCount(), 3);
    EXPECT_EQ(rowCells(listing.table, 2),
        QStringList({u"Autore/2"_qs, u"Argomento/2"_qs, u"Collana/2"_qs, u"Casa editrice/3"_qs}));
    const StyleRegistry& registry = listing.registry;
    ASSERT_EQ(registry.count(), 5);
    EXPECT_EQ(registry.style(0).fontName, u"MS Sans Serif"_qs); // band header
    EXPECT_EQ(registry.style(0).border(BorderSide::Top).width, 1);
    EXPECT_EQ(registry.style(1).border(BorderSide::Top).width, 0); // header filler
    EXPECT_EQ(registry.style(2).fontName, u"Tahoma"_qs); // column header
    EXPECT_TRUE(registry.style(2).fontStyle.bold);
    EXPECT_EQ(registry.style(3), DefaultCellStyle());
    CellStyle headerFiller = registry.style(1);
    headerFiller.border(BorderSide::Right).width = 1;
    EXPECT_EQ(registry.style(4), headerFiller);
    EXPECT_EQ(readFile(path()).count(".Style"), 5);
}

TEST_F(HtmlListingTest, GroupedByOneColumn)
{
    addFourBooks();
    view.groupBy(column(Field::Lingua));
    const HtmlListing listing = buildHtmlListing(view);
    const ListingTable& t = listing.table;

    // The indent column of the group sign, then the first band's first
    // column less the indent; the second band is cut by both its lines
    // without "Lingua".
    EXPECT_EQ(t.columnWidths(), (std::vector<int> {17, 103, 220, 85, 97, 16, 86, 74, 1, 71, 809}));
    EXPECT_EQ(t.rowCount(), 3 + 3 * 2 + 2 * 4);
    EXPECT_EQ(rowLabels(listing),
        QStringList({u"G0 - Lingua : Inglese"_qs, u"D1 B"_qs, u"D1 Orwell"_qs, u"F0"_qs, u"F0"_qs,
            u"G0 - Lingua : Italiano"_qs, u"D1 A"_qs, u"D1 Eco"_qs, u"D1 C"_qs, u"D1 Calvino"_qs,
            u"D1 D"_qs, u"D1 Eco"_qs, u"F0"_qs, u"F0"_qs}));
    // A book's first cells start one column further right, after the indent.
    EXPECT_EQ(rowCells(t, 4).mid(0, 3), QStringList({u"."_qs, u"."_qs, u"B"_qs}));
    EXPECT_EQ(t.cell(1, 5).columnSpan, 2);
    EXPECT_EQ(t.cell(1, 5).text, u"Orwell"_qs);
    // The footer's first cells are not indented at the outer level.
    EXPECT_EQ(t.cell(0, 6).columnSpan, 2);
    EXPECT_EQ(t.cell(0, 7).columnSpan, 3);
}

TEST_F(HtmlListingTest, GroupedByTwoColumnsClosesTheInnerGroupsFirst)
{
    addFourBooks();
    view.groupBy(column(Field::Lingua));
    view.groupBy(column(Field::Autore));
    const HtmlListing listing = buildHtmlListing(view);

    EXPECT_EQ(listing.table.columnWidths(),
        (std::vector<int> {17, 17, 87, 220, 85, 97, 16, 86, 74, 1, 71, 809}));
    EXPECT_EQ(listing.table.rowCount(), 3 + 3 * 5 + 2 * 4);
    EXPECT_EQ(rowLabels(listing),
        QStringList({
            u"G0 - Lingua : Inglese"_qs,
            u"G1 - Autore : Orwell"_qs,
            u"D2 B"_qs,
            u"D2 Distopia"_qs,
            u"F1"_qs,
            u"F1"_qs,
            u"F0"_qs,
            u"F0"_qs,
            u"G0 - Lingua : Italiano"_qs,
            u"G1 - Autore : Calvino"_qs,
            u"D2 C"_qs,
            u"D2 Fiabe"_qs,
            u"F1"_qs,
            u"F1"_qs,
            u"G1 - Autore : Eco"_qs,
            u"D2 A"_qs,
            u"D2 Romanzo"_qs,
            u"D2 D"_qs,
            u"D2 Saggio"_qs,
            u"F1"_qs,
            u"F1"_qs,
            u"F0"_qs,
            u"F0"_qs,
        }));
}

TEST_F(HtmlListingTest, CollapsedGroupsAreWrittenExpandedAndStayExpanded)
{
    addFourBooks();
    view.groupBy(column(Field::Lingua));
    view.groupBy(column(Field::Autore));
    for (int g = 0; g < view.groupCount(); ++g)
        view.setExpanded(g, false);
    ASSERT_EQ(view.rowCount(), 4); // two collapsed groups with their footers

    const HtmlListing listing = buildHtmlListing(view);
    EXPECT_EQ(listing.table.rowCount(), 3 + 3 * 5 + 2 * 4);
    EXPECT_EQ(rowLabels(listing).filter(u"G"_qs),
        QStringList({u"G0 - Lingua : Inglese"_qs, u"G1 - Autore : Orwell"_qs,
            u"G0 - Lingua : Italiano"_qs, u"G1 - Autore : Calvino"_qs, u"G1 - Autore : Eco"_qs}));
    for (int g = 0; g < view.groupCount(); ++g)
        EXPECT_TRUE(view.group(g).expanded) << g;
}

TEST_F(HtmlListingTest, BooksFollowTheGridsSortOrder)
{
    addFourBooks();
    const struct
    {
        SortOrder order;
        QStringList titles;
    } cases[] = {
        {SortOrder::Ascending, {u"C"_qs, u"A"_qs, u"D"_qs, u"B"_qs}},
        {SortOrder::Descending, {u"B"_qs, u"A"_qs, u"D"_qs, u"C"_qs}},
        {SortOrder::None, {u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs}},
    };
    for (const auto& c : cases) {
        view.sortBy(column(Field::Autore), c.order);
        const HtmlListing listing = buildHtmlListing(view);
        QStringList titles;
        for (int r = 3; r < listing.table.rowCount(); r += 2)
            titles << listing.table.cell(1, r).text;
        EXPECT_EQ(titles, c.titles) << int(c.order);
    }
    // The table keeps its own order.
    EXPECT_EQ(titlesInOrder(), QStringList({u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs}));
}

TEST_F(HtmlListingTest, MovedAndResizedColumnsCutTheTableWhereTheGridShowsThem)
{
    addFourBooks();
    GridLayout& layout = view.layout();
    layout.resizeColumn(column(Field::Barcode), 150);
    const GridColumn lingua = layout.column(column(Field::Lingua));
    layout.moveColumn(column(Field::Lingua), lingua.band, 1, 0);
    view.layoutEdited();
    const HtmlListing listing = buildHtmlListing(view);
    const ListingTable& t = listing.table;

    EXPECT_EQ(
        boundaries(t), (std::vector<int> {150, 339, 424, 429, 537, 598, 623, 698, 761, 769, 1578}));
    EXPECT_EQ(rowCells(t, 1),
        QStringList({u"Codice"_qs, u"Titolo"_qs, u"Data pubblicazione"_qs, u"Formato/2"_qs,
            u"N.Pagine/2"_qs, u"Prezzo"_qs, u"Costo/2"_qs, u"note"_qs}));
    EXPECT_EQ(rowCells(t, 2),
        QStringList({u"Autore/2"_qs, u"Lingua/2"_qs, u"Argomento/2"_qs, u"Collana/3"_qs,
            u"Casa editrice/2"_qs}));
    EXPECT_EQ(rowCells(t, 4),
        QStringList({u"Eco/2"_qs, u"Italiano/2"_qs, u"Romanzo/2"_qs, u"./3"_qs, u"./2"_qs}));
}

TEST_F(HtmlListingTest, FirstHeaderNoWiderThanTheIndentIsAnIncorrectUnion)
{
    addFourBooks();
    const struct
    {
        std::vector<Field> grouped;
        int codeWidth;
        bool fails;
    } cases[] = {
        {{Field::Lingua}, 16, true},
        {{Field::Lingua}, 17, false},
        {{Field::Lingua, Field::Formato}, 32, true},
        {{Field::Lingua, Field::Formato}, 33, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codeWidth);
        TestEnvironment::writeFile(path(), "earlier page");
        for (const int grouped : std::vector<int>(view.groupedColumns()))
            view.ungroup(grouped);
        view.layout().resizeColumn(column(Field::Barcode), c.codeWidth);
        view.layoutEdited();
        for (const Field field : c.grouped)
            view.groupBy(column(field));

        if (c.fails) {
            try {
                WriteHtmlListing(path(), view);
                ADD_FAILURE() << "no error";
            } catch (const Error& error) {
                EXPECT_EQ(error.message(), u"Incorrect union of cells"_qs);
            }
            EXPECT_EQ(readFile(path()), "earlier page");
        } else {
            WriteHtmlListing(path(), view);
            EXPECT_TRUE(readFile(path()).startsWith("<HTML>"));
        }
    }
}

TEST_F(HtmlListingTest, AFileThatCannotBeCreatedIsAnErrorAndNothingIsLeft)
{
    addFourBooks();
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"LibrLst.html/inside"_qs));
    try {
        WriteHtmlListing(path(), view);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(u"Cannot create file \""_qs + path() + u"\". "_qs))
            << error.message().toStdString();
    }
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(HtmlListingTest, FirstBandNarrowerThanTheIndentsCountsAsOnePixelWider)
{
    addFourBooks();
    view.layout().resizeBand(view.layout().bandOrder().front(), 20);
    view.layoutEdited();
    view.groupBy(column(Field::Lingua));
    view.groupBy(column(Field::Formato));
    view.setFilter([](RowId) { return false; }, u"nessuno"_qs);
    const HtmlListing listing = buildHtmlListing(view);

    // The first band ends at 2 x 16 + 1 and the second starts there; with no
    // group row shown the indents keep their 16 pixels.
    EXPECT_EQ(boundaries(listing.table),
        (std::vector<int> {7, 16, 20, 32, 33, 126, 215, 220, 302, 380, 391, 1272}));
    EXPECT_EQ(rowCells(listing.table, 0), QStringList({u"./5"_qs, u"Dettagli/7"_qs}));
    EXPECT_EQ(rowCells(listing.table, 1),
        QStringList({u"Codice"_qs, u"Titolo/2"_qs, u"."_qs, u"."_qs, u"Data pubblicazione"_qs,
            u"N.Pagine/2"_qs, u"Prezzo"_qs, u"Costo"_qs, u"note/2"_qs}));
}

TEST_F(HtmlListingTest, LastRowGetsABottomEdgeUnderTheFillersAtItsLeft)
{
    addFourBooks();
    // "Autore" grouped away leaves the first band's second header row empty.
    view.groupBy(column(Field::Autore));
    view.setFilter([](RowId) { return false; }, u"nessuno"_qs);
    const HtmlListing listing = buildHtmlListing(view);
    const ListingTable& t = listing.table;

    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.cell(3, 2).text, u"Argomento"_qs);
    for (int c = 0; c < 3; ++c) {
        const CellStyle filler = listing.registry.style(t.styleNumber(c, 2));
        EXPECT_EQ(filler.border(BorderSide::Bottom).width, 1) << c;
        EXPECT_EQ(filler.border(BorderSide::Top).width, 0) << c;
    }
}
