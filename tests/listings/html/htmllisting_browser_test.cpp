// A listing of a grouped grid, opened in a real browser: the table it builds
// has the rows of the groups, the books and the footers, with their spans and
// texts.
#include "bandedtableview.h"
#include "catalogfixture.h"
#include "cellstyle.h"
#include "domtable.h"
#include "headlessbrowser.h"
#include "htmllisting.h"
#include "maingrid.h"
#include "testenvironment.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A row's cells as "content/colspan" (without "/" when no colspan is set).
QStringList spansAndTexts(const std::vector<DomCell>& row)
{
    QStringList cells;
    for (const DomCell& cell : row)
        cells << (cell.columnSpan.isEmpty() ? cell.html : cell.html + u'/' + cell.columnSpan);
    return cells;
}

using HtmlListingInBrowser = CatalogueFixture;

} // namespace

TEST_F(HtmlListingInBrowser, GroupedListingHasTheRowsCellsSpansAndTexts)
{
    rememberDefaultCellStyleColours(TestEnvironment::palette());
    addBook({{Field::Titolo, u"Il barone"_qs}, {Field::Autore, u"Calvino"_qs},
        {Field::Lingua, u"Italiano"_qs}});
    addBook({{Field::Titolo, u"1984"_qs}, {Field::Autore, u"Orwell"_qs},
        {Field::Lingua, u"Inglese"_qs}, {Field::Note, u"uno & due\r\ntre"_qs}});
    BandedTableView view(table);
    configureMainGrid(view);
    view.groupBy(view.layout().columnOf(Field::Lingua));
    const QString path = dir.filePath(u"LibrLst.html"_qs);
    WriteHtmlListing(path, view);

    QString dom;
    try {
        dom = HeadlessBrowser::dumpDom(path);
    } catch (const std::exception& error) {
        FAIL() << error.what();
    }
    const auto rows = domTableRows(dom);

    const QString e = u"&nbsp;"_qs;
    const QStringList footer0 {e + u"/2", e, e, e + u"/2", e, e + u"/2", e, e};
    const QStringList footer1 {e + u"/3", e + u"/2", e + u"/3", e + u"/3"};
    const std::vector<QStringList> expected {
        {e + u"/3", u"Dettagli/8"_qs},
        {u"Codice/2"_qs, u"Titolo"_qs, u"Data pubblicazione"_qs, u"Formato/2"_qs, u"N.Pagine"_qs,
            u"Prezzo/2"_qs, u"Costo"_qs, u"note"_qs},
        {u"Autore/3"_qs, u"Argomento/2"_qs, u"Collana/3"_qs, u"Casa editrice/3"_qs},
        {u"-"_qs, u"Lingua : Inglese/10"_qs},
        {e, e, u"1984"_qs, u"01/01/1900"_qs, e + u"/2", u"0"_qs, u"0,00/2"_qs, u"0,00"_qs,
            u"uno &amp; due<br>tre"_qs},
        {e, u"Orwell/2"_qs, e + u"/2", e + u"/3", e + u"/3"},
        footer0,
        footer1,
        {u"-"_qs, u"Lingua : Italiano/10"_qs},
        {e, e, u"Il barone"_qs, u"01/01/1900"_qs, e + u"/2", u"0"_qs, u"0,00/2"_qs, u"0,00"_qs, e},
        {e, u"Calvino/2"_qs, e + u"/2", e + u"/3", e + u"/3"},
        footer0,
        footer1,
    };
    ASSERT_EQ(rows.size(), expected.size() + 1) << dom.toStdString();
    EXPECT_EQ(rows[0].size(), 11u); // the width row
    for (std::size_t r = 0; r < expected.size(); ++r)
        EXPECT_EQ(spansAndTexts(rows[r + 1]), expected[r]) << "row " << r + 1;

    // No block spans rows; signs are centred, numbers right-aligned.
    for (const auto& row : rows) {
        for (const DomCell& cell : row)
            EXPECT_TRUE(cell.rowSpan.isEmpty());
    }
    EXPECT_EQ(rows[4][0].align, u"CENTER"_qs);
    EXPECT_EQ(rows[5][5].align, u"RIGHT"_qs);
    EXPECT_EQ(rows[5][2].align, u"LEFT"_qs);
    EXPECT_EQ(rows[4][1].cssClass, rows[9][1].cssClass);
    EXPECT_TRUE(dom.contains(u"<title>"_qs + path + u"</title>"_qs));
}
