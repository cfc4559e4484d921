// Pages written by the writer, opened in a real browser: the table the
// browser builds must have the rows, cells, spans and texts we meant.
#include "cellstyle.h"
#include "domtable.h"
#include "headlessbrowser.h"
#include "htmlpage.h"
#include "listingtable.h"
#include "testenvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

TEST(HtmlPageInBrowser, TableHasTheRowsCellsSpansAndTexts)
{
    rememberDefaultCellStyleColours(TestEnvironment::palette());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("LibrLst.html"));

    StyleRegistry registry;
    CellStyle left = DefaultCellStyle();
    left.alignment = CellAlignment::Left;
    CellStyle right = DefaultCellStyle();
    right.alignment = CellAlignment::Right;
    right.fontStyle.bold = true;
    const int band = registry.registerStyle(DefaultCellStyle());
    const int text = registry.registerStyle(left);
    const int number = registry.registerStyle(right);

    ListingTable table({60, 80, 100}, 4);
    table.placeBlock(0, 0, 3, 1, band, u"Catalogo & \"libri\"");
    table.placeBlock(0, 1, 1, 1, text, u"Codice");
    table.placeBlock(1, 1, 2, 2, text, u"uno\r\ndue\nè <tre>");
    table.placeBlock(0, 2, 1, 1, text, u"");
    table.placeBlock(0, 3, 1, 1, text, u"x\ry");
    table.placeBlock(1, 3, 1, 1, text, u"");
    table.placeBlock(2, 3, 1, 1, number, u"€ 5,00");
    WriteHtmlPage(path, table, registry);

    QString dom;
    try {
        dom = HeadlessBrowser::dumpDom(path);
    } catch (const std::exception& error) {
        FAIL() << error.what();
    }

    const auto rows = domTableRows(dom);
    const QString l = QStringLiteral("LEFT");
    const std::vector<std::vector<DomCell>> expected {
        {{}, {}, {}, {}, {}},
        {{QStringLiteral("3"), {}, QStringLiteral("CENTER"), QStringLiteral("Style0"),
            QStringLiteral("Catalogo &amp; \"libri\"")}},
        {{{}, {}, l, QStringLiteral("Style1"), QStringLiteral("Codice")},
            {QStringLiteral("2"), QStringLiteral("2"), l, QStringLiteral("Style1"),
                QStringLiteral("uno<br>due<br>è &lt;tre&gt;")}},
        {{{}, {}, l, QStringLiteral("Style1"), QStringLiteral("&nbsp;")}},
        {{{}, {}, l, QStringLiteral("Style1"), QStringLiteral("x\ny")},
            {{}, {}, l, QStringLiteral("Style1"), QStringLiteral("&nbsp;")},
            {{}, {}, QStringLiteral("RIGHT"), QStringLiteral("Style2"), QStringLiteral("€ 5,00")}},
    };
    ASSERT_EQ(rows.size(), expected.size()) << dom.toStdString();
    // The width row: one empty cell per column, with its width.
    ASSERT_EQ(rows[0].size(), 3u) << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("<td width=\"60\" height=\"0\"></td>")));
    EXPECT_TRUE(dom.contains(QStringLiteral("<td width=\"100\" height=\"0\"></td>")));
    for (std::size_t r = 1; r < rows.size(); ++r)
        EXPECT_EQ(rows[r], expected[r]) << "row " << r;

    EXPECT_TRUE(dom.contains(QStringLiteral("<title>") + path + QStringLiteral("</title>")))
        << dom.toStdString();
    // Each class of the sheet reached the browser.
    for (const char* name : {".Style0 {", ".Style1 {", ".Style2 {"})
        EXPECT_TRUE(dom.contains(QLatin1String(name))) << name;
}
