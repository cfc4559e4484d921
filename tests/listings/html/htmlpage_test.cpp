#include "cellstyle.h"
#include "error.h"
#include "htmlpage.h"
#include "listingtable.h"
#include "testenvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using TestEnvironment::readFile;

namespace {

class HtmlPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        rememberDefaultCellStyleColours(TestEnvironment::palette());
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const QString& name = QStringLiteral("LibrLst.html")) const
    {
        return dir.filePath(name);
    }

    QTemporaryDir dir;
};

CellStyle aligned(CellAlignment alignment)
{
    CellStyle style = DefaultCellStyle();
    style.alignment = alignment;
    return style;
}

QByteArray between(const QByteArray& page, const QByteArray& before, const QByteArray& after)
{
    const qsizetype start = page.indexOf(before);
    if (start < 0)
        return "<missing " + before + ">";
    const qsizetype from = start + before.size();
    const qsizetype to = page.indexOf(after, from);
    if (to < 0)
        return "<missing " + after + ">";
    return page.mid(from, to - from);
}

// The rows of the table after the width row.
QByteArray tableRows(const QByteArray& page)
{
    return between(page, " HEIGHT=0></TD>\r\n</TR>\r\n", "</TABLE>\r\n");
}

// The page of one cell of the default style holding text, as it is written.
QByteArray writtenText(QStringView text)
{
    ListingTable table({10}, 1);
    StyleRegistry registry;
    table.placeBlock(0, 0, 1, 1, registry.registerStyle(DefaultCellStyle()), text);
    return between(htmlPageBytes(QStringLiteral("t"), table, registry),
        "<TD NOWRAP ALIGN=CENTER CLASS=Style0>", "</TD>\r\n</TR>\r\n</TABLE>");
}

const QByteArray defaultRule = " { border-style: solid; padding: 3;"
                               " border-left-width: 1; border-top-width: 1;"
                               " border-right-width: 1; border-bottom-width: 1;"
                               " border-left-color: rgb(160,160,160);"
                               " border-top-color: rgb(160,160,160);"
                               " border-right-color: rgb(160,160,160);"
                               " border-bottom-color: rgb(160,160,160);"
                               " font-family: 'Tahoma'; mso-font-charset: 0; font-size: 8pt;"
                               " color: rgb(0,0,0); background-color: rgb(255,255,255)}\r\n\r\n";

} // namespace

// The expected bytes are written out by hand: two styles of the page and
// one more, spans both ways, escapes, line breaks and a letter beyond ASCII.
TEST_F(HtmlPage, WholePage)
{
    CellStyle terminal;
    terminal.alignment = CellAlignment::Right;
    terminal.fontName = QStringLiteral("HE_TERMINAL");
    terminal.fontStyle = {true, true, true, true};
    terminal.fontColour = {0, 0, 138};
    terminal.fontSize = 9;
    terminal.fontCharset = 1;
    terminal.borders = {CellBorder {0, {1, 2, 3}}, CellBorder {2, {4, 5, 6}},
        CellBorder {10, {7, 8, 9}}, CellBorder {255, {255, 0, 16}}};
    terminal.background = {255, 255, 225};

    StyleRegistry registry;
    const int left = registry.registerStyle(aligned(CellAlignment::Left));
    const int right = registry.registerStyle(terminal);
    const int centre = registry.registerStyle(DefaultCellStyle());
    ListingTable table({50, 70}, 4);
    table.placeBlock(0, 0, 2, 1, left, u"Titolo & co");
    table.placeBlock(0, 1, 1, 1, right, u"a<b");
    table.placeBlock(1, 1, 1, 2, centre, u"");
    table.placeBlock(0, 2, 1, 1, right, u"x\r\ny\nz\rw");
    table.placeBlock(0, 3, 1, 1, left, u"Perché \"sì\" > no");
    table.placeBlock(1, 3, 1, 1, centre, u"5 €");

    const QString target = path();
    WriteHtmlPage(target, table, registry);

    const QByteArray expected = "<HTML>\r\n"
                                "<HEAD>\r\n"
                                "<TITLE>"
        + target.toUtf8()
        + "</TITLE>\r\n"
          "<STYLE TYPE=\"text/css\"><!--\r\n"
          ".Style0 { border-style: solid; padding: 3; border-left-width: 1; border-top-width: 1;"
          " border-right-width: 1; border-bottom-width: 1; border-left-color: rgb(160,160,160);"
          " border-top-color: rgb(160,160,160); border-right-color: rgb(160,160,160);"
          " border-bottom-color: rgb(160,160,160); font-family: 'Tahoma'; mso-font-charset: 0;"
          " font-size: 8pt; color: rgb(0,0,0); background-color: rgb(255,255,255)}\r\n"
          "\r\n"
          ".Style1 { border-style: solid; padding: 3; border-left-width: 0; border-top-width: 2;"
          " border-right-width: 10; border-bottom-width: 255; border-left-color: rgb(1,2,3);"
          " border-top-color: rgb(4,5,6); border-right-color: rgb(7,8,9);"
          " border-bottom-color: rgb(255,0,16); font-family: 'HE_TERMINAL'; mso-font-charset: 1;"
          " font-weight: bold; font-style: italic; text-decoration: underline; font-size: 9pt;"
          " color: rgb(0,0,138); background-color: rgb(255,255,225)}\r\n"
          "\r\n"
          ".Style2 { border-style: solid; padding: 3; border-left-width: 1; border-top-width: 1;"
          " border-right-width: 1; border-bottom-width: 1; border-left-color: rgb(160,160,160);"
          " border-top-color: rgb(160,160,160); border-right-color: rgb(160,160,160);"
          " border-bottom-color: rgb(160,160,160); font-family: 'Tahoma'; mso-font-charset: 0;"
          " font-size: 8pt; color: rgb(0,0,0); background-color: rgb(255,255,255)}\r\n"
          "\r\n"
          "--></STYLE>\r\n"
          "</HEAD>\r\n"
          "<BODY>\r\n"
          "<TABLE BORDER=0 CELLSPACING=0>\r\n"
          "<TR>\r\n"
          "<TD  WIDTH=50 HEIGHT=0></TD>\r\n"
          "<TD  WIDTH=70 HEIGHT=0></TD>\r\n"
          "</TR>\r\n"
          "<TR>\r\n"
          "<TD COLSPAN=2 NOWRAP ALIGN=LEFT CLASS=Style0>Titolo &amp; co</TD>\r\n"
          "</TR>\r\n"
          "<TR>\r\n"
          "<TD NOWRAP ALIGN=RIGHT CLASS=Style1>a&lt;b</TD>\r\n"
          "<TD ROWSPAN=2 NOWRAP ALIGN=CENTER CLASS=Style2>&nbsp</TD>\r\n"
          "</TR>\r\n"
          "<TR>\r\n"
          "<TD NOWRAP ALIGN=RIGHT CLASS=Style1>x<BR>y<BR>z\rw</TD>\r\n"
          "</TR>\r\n"
          "<TR>\r\n"
          "<TD NOWRAP ALIGN=LEFT CLASS=Style0>Perch\xE9 &quot;s\xEC&quot; &gt; no</TD>\r\n"
          "<TD NOWRAP ALIGN=CENTER CLASS=Style2>5 \x80</TD>\r\n"
          "</TR>\r\n"
          "</TABLE>\r\n"
          "</BODY>\r\n"
          "</HTML>";
    EXPECT_EQ(readFile(target), expected);
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("LibrLst.html")});
}

TEST_F(HtmlPage, CellTexts)
{
    struct Case
    {
        QString text;
        QByteArray written;
    };
    const Case cases[] = {
        {QString(), "&nbsp"},
        {QStringLiteral(" "), " "},
        {QStringLiteral("a<b>c"), "a&lt;b&gt;c"},
        {QStringLiteral("R&D \"Q\""), "R&amp;D &quot;Q&quot;"},
        {QStringLiteral("&nbsp"), "&amp;nbsp"},
        {QStringLiteral("&lt;"), "&amp;lt;"},
        {QStringLiteral("uno\r\ndue"), "uno<BR>due"},
        {QStringLiteral("uno\ndue"), "uno<BR>due"},
        {QStringLiteral("uno\rdue"), "uno\rdue"},
        {QStringLiteral("\r\r\n"), "\r<BR>"},
        {QStringLiteral("\n\r"), "<BR>\r"},
        {QStringLiteral("\r\n\r\n"), "<BR><BR>"},
        {QStringLiteral("fine\r"), "fine\r"},
        {QStringLiteral("a<\r\n&"), "a&lt;<BR>&amp;"},
        {QStringLiteral("tab\there"), "tab\there"},
        {QStringLiteral("Città È ñ ß ÿ"), "Citt\xE0 \xC8 \xF1 \xDF \xFF"},
        {QStringLiteral("€ „“ — ™ Œ"), "\x80 \x84\x93 \x97 \x99 \x8C"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(writtenText(c.text), c.written) << c.text.toStdString();
}

TEST_F(HtmlPage, TitleIsThePathWithMarkupEscaped)
{
    struct Case
    {
        QString title;
        QByteArray written;
    };
    const Case cases[] = {
        {QStringLiteral("C:\\Programmi\\Tomario\\LibrLst.html"),
            "C:\\Programmi\\Tomario\\LibrLst.html"},
        {QStringLiteral("/home/anna/Libri d'epoca/LibrLst.html"),
            "/home/anna/Libri d'epoca/LibrLst.html"},
        {QStringLiteral("/home/anna/Libreria è più/LibrLst.html"),
            "/home/anna/Libreria \xE8 pi\xF9/LibrLst.html"},
        {QStringLiteral("/tmp/R&D <\"2\">/LibrLst.html"),
            "/tmp/R&amp;D &lt;&quot;2&quot;&gt;/LibrLst.html"},
    };
    const ListingTable table({10}, 0);
    for (const Case& c : cases) {
        EXPECT_EQ(between(htmlPageBytes(c.title, table, StyleRegistry()), "<TITLE>", "</TITLE>"),
            c.written);
    }

    // And through the file itself.
    const QString folder = QStringLiteral("Libri \"R&D\" è");
    ASSERT_TRUE(QDir(dir.path()).mkdir(folder));
    const QString target = dir.filePath(folder + QStringLiteral("/LibrLst.html"));
    WriteHtmlPage(target, table, StyleRegistry());
    EXPECT_EQ(between(readFile(target), "<TITLE>", "</TITLE>"),
        dir.path().toUtf8() + "/Libri &quot;R&amp;D&quot; \xE8/LibrLst.html");
}

TEST_F(HtmlPage, WidthRowStandsBeforeTheCells)
{
    ListingTable table({119, 0, 747}, 1);
    const QByteArray page = htmlPageBytes(QStringLiteral("t"), table, StyleRegistry());
    EXPECT_EQ(between(page, "<TABLE BORDER=0 CELLSPACING=0>\r\n", "<TR>\r\n<TD NOWRAP"),
        "<TR>\r\n"
        "<TD  WIDTH=119 HEIGHT=0></TD>\r\n"
        "<TD  WIDTH=0 HEIGHT=0></TD>\r\n"
        "<TD  WIDTH=747 HEIGHT=0></TD>\r\n"
        "</TR>\r\n");
}

TEST_F(HtmlPage, SpansAreWrittenOnlyWhenGreaterThanOne)
{
    StyleRegistry registry;
    const int style = registry.registerStyle(aligned(CellAlignment::Left));
    ListingTable table({10, 10, 10}, 4);
    table.placeBlock(0, 0, 3, 1, style, u"a");
    table.placeBlock(0, 1, 1, 2, style, u"b");
    table.placeBlock(1, 1, 2, 2, style, u"c");
    table.placeBlock(0, 3, 1, 1, style, u"d");
    table.placeBlock(1, 3, 1, 1, style, u"e");
    table.placeBlock(2, 3, 1, 1, style, u"f");

    EXPECT_EQ(tableRows(htmlPageBytes(QStringLiteral("t"), table, registry)),
        "<TR>\r\n"
        "<TD COLSPAN=3 NOWRAP ALIGN=LEFT CLASS=Style0>a</TD>\r\n"
        "</TR>\r\n"
        "<TR>\r\n"
        "<TD ROWSPAN=2 NOWRAP ALIGN=LEFT CLASS=Style0>b</TD>\r\n"
        "<TD COLSPAN=2 ROWSPAN=2 NOWRAP ALIGN=LEFT CLASS=Style0>c</TD>\r\n"
        "</TR>\r\n"
        "<TR>\r\n"
        "</TR>\r\n"
        "<TR>\r\n"
        "<TD NOWRAP ALIGN=LEFT CLASS=Style0>d</TD>\r\n"
        "<TD NOWRAP ALIGN=LEFT CLASS=Style0>e</TD>\r\n"
        "<TD NOWRAP ALIGN=LEFT CLASS=Style0>f</TD>\r\n"
        "</TR>\r\n");
}

TEST_F(HtmlPage, PageEndsWithoutLineEnd)
{
    ListingTable table({10}, 1);
    const QByteArray page = htmlPageBytes(QStringLiteral("t"), table, StyleRegistry());
    EXPECT_TRUE(page.endsWith("</TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>"))
        << page.right(40).toStdString();
}

TEST_F(HtmlPage, StyleSheetListsEachRegisteredStyleOnceInNumberOrder)
{
    CellStyle right = aligned(CellAlignment::Right);
    CellStyle filler = DefaultCellStyle();
    for (CellBorder& border : filler.borders)
        border.width = 0;

    StyleRegistry registry;
    ListingTable table({10, 10}, 2);
    table.placeBlock(0, 0, 2, 1, registry.registerStyle(right), u"a");
    // Only a covered cell uses the filler; it is in the sheet all the same.
    table.setStyleNumber(1, 0, registry.registerStyle(filler));
    table.placeBlock(0, 1, 1, 1, registry.registerStyle(right), u"b");
    table.placeBlock(1, 1, 1, 1, registry.registerStyle(DefaultCellStyle()), u"c");
    ASSERT_EQ(registry.count(), 3);

    const QByteArray page = htmlPageBytes(QStringLiteral("t"), table, registry);
    const QByteArray sheet = between(page, "<!--\r\n", "--></STYLE>");
    EXPECT_EQ(sheet,
        ".Style0" + defaultRule
            + ".Style1 { border-style: solid; padding: 3;"
              " border-left-width: 0; border-top-width: 0;"
              " border-right-width: 0; border-bottom-width: 0;"
              " border-left-color: rgb(160,160,160); border-top-color: rgb(160,160,160);"
              " border-right-color: rgb(160,160,160); border-bottom-color: rgb(160,160,160);"
              " font-family: 'Tahoma'; mso-font-charset: 0; font-size: 8pt;"
              " color: rgb(0,0,0); background-color: rgb(255,255,255)}\r\n\r\n"
            + ".Style2" + defaultRule);
    EXPECT_EQ(tableRows(page),
        "<TR>\r\n"
        "<TD COLSPAN=2 NOWRAP ALIGN=RIGHT CLASS=Style0>a</TD>\r\n"
        "</TR>\r\n"
        "<TR>\r\n"
        "<TD NOWRAP ALIGN=RIGHT CLASS=Style0>b</TD>\r\n"
        "<TD NOWRAP ALIGN=CENTER CLASS=Style2>c</TD>\r\n"
        "</TR>\r\n");
}

TEST_F(HtmlPage, FontStyleDeclarations)
{
    struct Case
    {
        FontStyles fontStyle;
        QByteArray declarations;
    };
    const Case cases[] = {
        {{}, ""},
        {{true, false, false, false}, " font-weight: bold;"},
        {{false, true, false, false}, " font-style: italic;"},
        {{false, false, true, false}, " text-decoration: underline;"},
        {{false, false, false, true}, " text-decoration: line-through;"},
        {{false, false, true, true}, " text-decoration: underline;"},
        {{true, true, false, true},
            " font-weight: bold; font-style: italic; text-decoration: line-through;"},
    };
    for (const Case& c : cases) {
        CellStyle style = DefaultCellStyle();
        style.fontStyle = c.fontStyle;
        StyleRegistry registry;
        registry.registerStyle(style);
        const QByteArray page = htmlPageBytes(QStringLiteral("t"), ListingTable({10}, 0), registry);
        EXPECT_EQ(between(page, " mso-font-charset: 0;", " font-size: 8pt;"), c.declarations);
    }
}

// A written cell whose style was never set takes the class of the default
// style, which joins the sheet when it is not registered.
TEST_F(HtmlPage, CellLeftWithoutStyleTakesTheDefaultClass)
{
    {
        StyleRegistry registry;
        registry.registerStyle(aligned(CellAlignment::Left));
        registry.registerStyle(DefaultCellStyle());
        ListingTable table({10}, 1);
        table.placeBlock(0, 0, 1, 1, -1, u"x");
        const QByteArray page = htmlPageBytes(QStringLiteral("t"), table, registry);
        EXPECT_EQ(
            tableRows(page), "<TR>\r\n<TD NOWRAP ALIGN=CENTER CLASS=Style1>x</TD>\r\n</TR>\r\n");
        EXPECT_EQ(page.count(".Style"), 2);
    }
    {
        StyleRegistry registry;
        registry.registerStyle(aligned(CellAlignment::Left));
        ListingTable table({10}, 1);
        const QByteArray page = htmlPageBytes(QStringLiteral("t"), table, registry);
        EXPECT_EQ(tableRows(page),
            "<TR>\r\n<TD NOWRAP ALIGN=CENTER CLASS=Style1>&nbsp</TD>\r\n</TR>\r\n");
        EXPECT_EQ(between(page, "<!--\r\n", "--></STYLE>").right(defaultRule.size() + 7),
            ".Style1" + defaultRule);
    }
    {
        // Only a covered cell is left without style: the sheet stays as registered.
        StyleRegistry registry;
        const int left = registry.registerStyle(aligned(CellAlignment::Left));
        ListingTable table({10, 10}, 1);
        table.placeBlock(0, 0, 2, 1, left, u"x");
        EXPECT_EQ(htmlPageBytes(QStringLiteral("t"), table, registry).count(".Style"), 1);
    }
}

TEST_F(HtmlPage, CellWithUnregisteredStyleIsRefusedBeforeTheFileIsTouched)
{
    TestEnvironment::writeFile(path(), "previous");
    ListingTable table({10}, 1);
    table.placeBlock(0, 0, 1, 1, 1, u"x");
    StyleRegistry registry;
    registry.registerStyle(DefaultCellStyle());
    EXPECT_THROW(WriteHtmlPage(path(), table, registry), std::out_of_range);
    EXPECT_EQ(readFile(path()), "previous");
}

TEST_F(HtmlPage, ExistingPageIsReplaced)
{
    TestEnvironment::writeFile(path(), QByteArray(100000, 'x'));
    ListingTable table({10}, 1);
    WriteHtmlPage(path(), table, StyleRegistry());
    EXPECT_EQ(readFile(path()), htmlPageBytes(path(), table, StyleRegistry()));
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("LibrLst.html")});
}

namespace {

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST_F(HtmlPage, TargetThatCannotBeCreatedIsReported)
{
    // As root permissions do not stop us: a folder that does not exist, and a
    // target that is a folder holding a file.
    const QString missing = dir.filePath(QStringLiteral("missing/LibrLst.html"));
    const QString folder = path();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("LibrLst.html")));
    TestEnvironment::writeFile(folder + QStringLiteral("/inside.txt"), "keep");

    ListingTable table({10}, 1);
    for (const QString& target : {missing, folder}) {
        const QString message = errorOf([&] { WriteHtmlPage(target, table, StyleRegistry()); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(target)))
            << message.toStdString();
        EXPECT_GT(message.size(), QStringLiteral("Cannot create file \"%1\". ").arg(target).size());
    }
    EXPECT_EQ(readFile(folder + QStringLiteral("/inside.txt")), "keep");
    EXPECT_FALSE(QDir(dir.path()).exists(QStringLiteral("missing")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList {QStringLiteral("LibrLst.html")});
}

TEST_F(HtmlPage, WriteFailingPartWayLeavesThePreviousPage)
{
    const QByteArray previous = "<HTML>earlier page</HTML>";
    TestEnvironment::writeFile(path(), previous);
    ListingTable table({10, 10}, 2000);
    for (int row = 0; row < 2000; ++row)
        table.placeBlock(0, row, 2, 1, -1, QStringLiteral("Libro %1").arg(row));

    QString message;
    TestEnvironment::withFileSizeLimit(
        4096, [&] { message = errorOf([&] { WriteHtmlPage(path(), table, StyleRegistry()); }); });

    EXPECT_EQ(message, QStringLiteral("Stream write error"));
    EXPECT_EQ(readFile(path()), previous);
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("LibrLst.html")});
}
