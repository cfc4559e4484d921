#include "error.h"
#include "pagestore.h"
#include "pagestorefile.h"
#include "reportfixture.h"
#include "testenvironment.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Two pages: texts in Latin-1 and beyond it (euro sign, curly quotes), an
// empty line, a band and a line.
PageStore samplePages()
{
    PageStore pages;
    ElementStyle band;
    band.name = QStringLiteral("QRBand2");
    band.kind = ElementKind::Band;
    band.colour = Qt::white;
    ElementStyle text;
    text.name = QStringLiteral("QRDBText18");
    text.font = ReportFont {}.toQFont();
    text.colour = Qt::black;
    text.lineHeight = 3.19;
    text.ascent = 2.34;
    ElementStyle line;
    line.name = QStringLiteral("QRShape1");
    line.kind = ElementKind::Line;
    line.colour = QColor(128, 128, 128);
    const int b = pages.addStyle(band);
    const int t = pages.addStyle(text);
    const int l = pages.addStyle(line);

    const QString euro = QStringLiteral("Prezzo in \u20AC, \u201Cvirgolette\u201D");
    const QString plain = QStringLiteral("Citt\u00E0 e virt\u00F9");
    const QString empty;
    pages.beginPage();
    pages.addBox(b, {1000, 4250, 18997, 1799});
    const QStringView lines[] = {plain, empty, euro};
    pages.addText(t, {4440, 5520, 15425, 1088}, lines);
    pages.addBox(l, {1000, 2500, 19076, 238});
    pages.endPage();
    pages.beginPage();
    pages.addText(t, {4440, 2270, 15425, 450}, std::span<const QStringView>(lines, 1));
    pages.endPage();
    return pages;
}

void expectSamePages(const PageStore& a, const PageStore& b)
{
    EXPECT_EQ(a.styles(), b.styles());
    EXPECT_EQ(a.paperWidth(), b.paperWidth());
    EXPECT_EQ(a.paperLength(), b.paperLength());
    ASSERT_EQ(a.pageCount(), b.pageCount());
    for (int page = 0; page < a.pageCount(); ++page) {
        const PageContent x = a.content(page);
        const PageContent y = b.content(page);
        ASSERT_EQ(x.elements.size(), y.elements.size());
        for (std::size_t i = 0; i < x.elements.size(); ++i) {
            EXPECT_EQ(x.elements[i].style, y.elements[i].style);
            EXPECT_EQ(x.elements[i].box, y.elements[i].box);
            EXPECT_EQ(x.elements[i].lines, y.elements[i].lines);
        }
    }
}

TEST(PageStore, GivesBackWhatWasPlaced)
{
    const PageStore pages = samplePages();
    ASSERT_EQ(pages.pageCount(), 2);
    const PageContent first = pages.content(0);
    ASSERT_EQ(first.elements.size(), 3u);
    EXPECT_EQ(first.elements[0].box, (PageBox {1000, 4250, 18997, 1799}));
    EXPECT_TRUE(first.elements[0].lines.isEmpty());
    EXPECT_EQ(first.elements[1].lines,
        QStringList({QStringLiteral("Citt\u00E0 e virt\u00F9"), QString(),
            QStringLiteral("Prezzo in \u20AC, \u201Cvirgolette\u201D")}));
    EXPECT_EQ(first.elements[2].style, 2);
    EXPECT_EQ(pages.content(1).elements.at(0).box.top, 2270);
}

TEST(PageStore, AReleasedPageKeepsItsNumber)
{
    PageStore pages = samplePages();
    pages.releasePage(0);
    EXPECT_EQ(pages.pageCount(), 2);
    EXPECT_FALSE(pages.isAvailable(0));
    EXPECT_TRUE(pages.content(0).elements.empty());
    EXPECT_TRUE(pages.isAvailable(1));
}

TEST(PageStore, APageWithoutElementsIsAPage)
{
    PageStore pages;
    pages.beginPage();
    pages.endPage();
    EXPECT_EQ(pages.pageCount(), 1);
    EXPECT_TRUE(pages.isAvailable(0));
}

TEST(PageStoreFile, RoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.trp"));
    const PageStore pages = samplePages();
    PageStoreFile::save(pages, path);
    PageStore loaded;
    PageStoreFile::load(path, loaded);
    expectSamePages(pages, loaded);
}

struct BadFile
{
    const char* what;
    std::function<void(QByteArray&)> spoil;
    const char* message; // a part of the message
};

void PrintTo(const BadFile& c, std::ostream* out)
{
    *out << c.what;
}

class DamagedPageFile : public ::testing::TestWithParam<BadFile>
{
};

TEST_P(DamagedPageFile, IsRefusedAndTheStoreStaysAsItWas)
{
    QByteArray bytes = PageStoreFile::toBytes(samplePages());
    GetParam().spoil(bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.trp"));
    TestEnvironment::writeFile(path, bytes);

    PageStore shown = samplePages();
    try {
        PageStoreFile::load(path, shown);
        FAIL() << "accepted: " << GetParam().what;
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QString::fromUtf8(GetParam().message)))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().endsWith(u'.'));
    }
    expectSamePages(samplePages(), shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedPageFile,
    ::testing::Values(BadFile {"empty file", [](QByteArray& b) { b.clear(); },
                          "is not a file of saved report pages"},
        BadFile {"another kind of file", [](QByteArray& b) { b = "barcode\ttitolo\r\n"; },
            "is not a file of saved report pages"},
        BadFile {"another version", [](QByteArray& b) { b[8] = 2; },
            "of version 2, which this program cannot read"},
        BadFile {"a byte changed", [](QByteArray& b) { b[b.size() - 7] ^= 0x20; }, "is damaged"},
        BadFile {"cut short", [](QByteArray& b) { b.chop(10); }, "is damaged"},
        BadFile {"header only", [](QByteArray& b) { b.truncate(12); }, "is damaged"},
        BadFile {"bytes added", [](QByteArray& b) { b.append("xyz"); }, "is damaged"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::to_string(info.index); });

TEST(PageStoreFile, APageThatDoesNotDecodeIsRefusedThoughItsDigestIsRight)
{
    PageStore pages = samplePages();
    pages.beginPage();
    pages.addBox(7, {0, 0, 10, 10}); // there are three styles
    pages.endPage();
    PageStore shown;
    EXPECT_THROW(
        PageStoreFile::fromBytes(PageStoreFile::toBytes(pages), shown, QStringLiteral("x")), Error);
    EXPECT_EQ(shown.pageCount(), 0);
}

TEST(PageStoreFile, AMissingFileSaysSo)
{
    QTemporaryDir dir;
    PageStore pages;
    try {
        PageStoreFile::load(dir.filePath(QStringLiteral("none.trp")), pages);
        FAIL() << "loaded a file that does not exist";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), QStringLiteral("File does not exist"));
    }
}

TEST(PageStoreFile, SavingWhereNoFileCanBeMadeFailsWithAMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/pages.trp"));
    EXPECT_THROW(PageStoreFile::save(samplePages(), path), Error);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
