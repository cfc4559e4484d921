#include "report.h"
#include "reportfixture.h"
#include "reportgenerator.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace {

const QStringList fields = {QStringLiteral("code"), QStringLiteral("note")};

std::vector<QStringList> books(int count)
{
    std::vector<QStringList> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({QStringLiteral("B%1").arg(i), QString()});
    return rows;
}

QString paragraphs(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

class Generation : public ::testing::Test
{
protected:
    // Generates without running events; the pages finished are noted.
    bool generate(RecordSource& source)
    {
        ReportGenerator generator(small.layout, source, device, pages);
        generator.pumpEvents = nullptr;
        generator.onPageFinished = [this](int page) { finished.push_back(page); };
        return generator.run();
    }

    QStringList linesOf(int page, const QString& name)
    {
        QStringList all;
        for (const PlacedElement& element : elementsNamed(pages, page, name))
            all << element.lines;
        return all;
    }

    double lineHeight() const { return courier8().lineHeight(); }

    SmallTemplate small;
    QImage device = printerResolutionDevice();
    PageStore pages;
    std::vector<int> finished;
};

TEST_F(Generation, TitleOnceThenBlocksDownThePageAndOnTheNext)
{
    FakeRecords source(fields, books(20));
    ASSERT_TRUE(generate(source));
    ASSERT_EQ(pages.pageCount(), 2);
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("title")), std::vector<double>({100}));
    EXPECT_TRUE(topsInTenths(pages, 1, QStringLiteral("title")).empty());

    // The title band moves the position down 32.5 mm, a block 18.0 mm; a
    // block that would pass 287 mm starts the next page at the top margin.
    std::vector<double> first;
    for (int i = 0; i < 13; ++i)
        first.push_back(425 + 180 * i);
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("detail")), first);
    std::vector<double> second;
    for (int i = 0; i < 7; ++i)
        second.push_back(100 + 180 * i);
    EXPECT_EQ(topsInTenths(pages, 1, QStringLiteral("detail")), second);

    // Items at their offsets in the band, the band at the left margin.
    const std::vector<PlacedElement> codes = elementsNamed(pages, 0, QStringLiteral("code"));
    ASSERT_EQ(codes.size(), 13u);
    EXPECT_EQ(codes[1].box, (PageBox {1000 + 53, 6050, 3149, 450}));
    EXPECT_EQ(codes[1].lines, QStringList {QStringLiteral("B1")});
    const std::vector<PlacedElement> notes = elementsNamed(pages, 0, QStringLiteral("notes"));
    EXPECT_EQ(notes[0].box.top, 4250 + 1270);
}

TEST_F(Generation, AnnouncesEachPageWhenItIsComplete)
{
    FakeRecords source(fields, books(30));
    int positionWhenFirstDone = -1;
    ReportGenerator generator(small.layout, source, device, pages);
    generator.pumpEvents = nullptr;
    generator.onPageFinished = [&](int page) {
        finished.push_back(page);
        if (page == 0)
            positionWhenFirstDone = source.position();
    };
    ASSERT_TRUE(generator.run());
    EXPECT_EQ(finished, std::vector<int>({0, 1, 2}));
    // Page 1 is there as soon as the 14th block needs a new page.
    EXPECT_EQ(positionWhenFirstDone, 13);
}

TEST_F(Generation, NotesOfSeveralLinesMakeTheirBlockTaller)
{
    std::vector<QStringList> rows = books(3);
    rows[0][1] = paragraphs(3);
    FakeRecords source(fields, rows);
    ASSERT_TRUE(generate(source));

    const double growth = 2 * lineHeight();
    const std::vector<PlacedElement> bands = elementsNamed(pages, 0, QStringLiteral("detail"));
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].box.height, hundredthsOfMm(17.99 + growth));
    EXPECT_EQ(bands[1].box.top, (425 + tenthsOfMm(17.99 + growth)) * 10);
    EXPECT_EQ(bands[2].box.top, bands[1].box.top + 1800);
    const std::vector<PlacedElement> notes = elementsNamed(pages, 0, QStringLiteral("notes"));
    EXPECT_EQ(notes[0].lines.size(), 3);
    EXPECT_EQ(notes[0].box.height, hundredthsOfMm(4.50 + growth));
    EXPECT_EQ(notes[1].box.height, 450);
}

TEST_F(Generation, NotesReachingTheBottomGoOnAtTheTopOfTheNextPageAlone)
{
    std::vector<QStringList> rows = books(14);
    rows[12][1] = paragraphs(10); // the last block of page 1
    FakeRecords source(fields, rows);
    ASSERT_TRUE(generate(source));
    ASSERT_EQ(pages.pageCount(), 2);

    const std::vector<PlacedElement> before = elementsNamed(pages, 0, QStringLiteral("notes"));
    const PlacedElement& part1 = before.back();
    EXPECT_EQ(part1.box.top, (2585 + 127) * 10);
    // As many lines as the page allows, and not one more.
    const double limit = 2870 * 10;
    const double bandBottom = 25850 + 1799 + (part1.lines.size() - 1) * lineHeight() * 100;
    EXPECT_LE(bandBottom, limit);
    EXPECT_GT(bandBottom + lineHeight() * 100, limit);

    // The rest 12.70 mm below the top margin, without the other items of
    // the record; then the next record under the grown band.
    const std::vector<PlacedElement> after = elementsNamed(pages, 1, QStringLiteral("notes"));
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].box.top, (100 + 127) * 10);
    EXPECT_EQ(part1.lines + after[0].lines, paragraphs(10).split(QStringLiteral("\r\n")));
    EXPECT_EQ(linesOf(1, QStringLiteral("code")), QStringList {QStringLiteral("B13")});
    EXPECT_EQ(linesOf(1, QStringLiteral("noteCaption")).size(), 1);
    const double grown = (after[0].lines.size() - 1) * lineHeight();
    EXPECT_EQ(topsInTenths(pages, 1, QStringLiteral("detail")),
        std::vector<double>({100, double(100 + tenthsOfMm(17.99 + grown))}));
}

TEST_F(Generation, NotesLongerThanAPageRunOnOverSeveralPages)
{
    std::vector<QStringList> rows = books(2);
    rows[0][1] = paragraphs(200);
    FakeRecords source(fields, rows);
    ASSERT_TRUE(generate(source));
    ASSERT_GE(pages.pageCount(), 3);
    QStringList printed;
    for (int page = 0; page < pages.pageCount(); ++page) {
        for (const PlacedElement& notes : elementsNamed(pages, page, QStringLiteral("notes"))) {
            EXPECT_LE(notes.box.bottom(), 28700) << "page " << page + 1;
            printed << notes.lines;
        }
    }
    EXPECT_EQ(printed, paragraphs(200).split(QStringLiteral("\r\n")));
    EXPECT_EQ(
        linesOf(pages.pageCount() - 1, QStringLiteral("code")), QStringList {QStringLiteral("B1")});
}

TEST_F(Generation, ABandTallerThanThePageStaysWhereItIs)
{
    small.detail.height = 300;
    FakeRecords source(fields, books(2));
    ASSERT_TRUE(generate(source));
    EXPECT_EQ(pages.pageCount(), 1);
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("detail")), std::vector<double>({425, 3425}));
}

TEST_F(Generation, AnItemShowsOnlyTheLinesItsBoxHolds)
{
    std::vector<QStringList> rows = books(1);
    rows[0][0] = QStringLiteral("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii");
    const struct
    {
        double height;
        int lines;
    } cases[] = {{4.50, 1}, {7.00, 2}, {20.00, 3}};
    for (const auto& c : cases) {
        small.code.height = c.height;
        FakeRecords source(fields, rows);
        ASSERT_TRUE(generate(source));
        EXPECT_EQ(linesOf(0, QStringLiteral("code")).size(), c.lines) << c.height;
    }
}

TEST_F(Generation, FitsTextTakesTheWidthOfItsText)
{
    FakeRecords source(fields, books(1));
    ASSERT_TRUE(generate(source));
    const PlacedElement caption = elementsNamed(pages, 0, QStringLiteral("noteCaption")).at(0);
    EXPECT_EQ(caption.lines, QStringList {QStringLiteral("NOTE:")});
    EXPECT_EQ(caption.box.width, hundredthsOfMm(courier8().width(u"NOTE:")));
}

TEST_F(Generation, FollowsTheSourcesOrderAndFindsFieldsWhateverTheirCase)
{
    std::vector<QStringList> rows = {{QStringLiteral("C"), QString()},
        {FakeRecords::failingText(), QString()}, {QStringLiteral("A"), QString()}};
    FakeRecords source(fields, rows);
    ASSERT_TRUE(generate(source));
    QStringList codes;
    for (const PlacedElement& code : elementsNamed(pages, 0, QStringLiteral("code")))
        codes << (code.lines.isEmpty() ? QStringLiteral("(nothing)") : code.lines.join(u'|'));
    // A text that cannot be produced prints nothing; the report goes on.
    EXPECT_EQ(codes,
        QStringList({QStringLiteral("C"), QStringLiteral("(nothing)"), QStringLiteral("A")}));
}

TEST_F(Generation, AnEmptySourceGivesOnePageWithAnEmptyBlock)
{
    FakeRecords source(fields, {});
    ASSERT_TRUE(generate(source));
    ASSERT_EQ(pages.pageCount(), 1);
    EXPECT_EQ(linesOf(0, QStringLiteral("heading")), QStringList {QStringLiteral("HEAD")});
    EXPECT_EQ(topsInTenths(pages, 0, QStringLiteral("detail")), std::vector<double>({425}));
    EXPECT_TRUE(linesOf(0, QStringLiteral("code")).isEmpty());
    EXPECT_TRUE(linesOf(0, QStringLiteral("notes")).isEmpty());
    EXPECT_EQ(linesOf(0, QStringLiteral("noteCaption")), QStringList {QStringLiteral("NOTE:")});

    small.layout.printIfEmpty = false;
    FakeRecords none(fields, {});
    ASSERT_TRUE(generate(none));
    EXPECT_EQ(pages.pageCount(), 0);
}

TEST_F(Generation, RunsEventsBeforeEachRecordReportsProgressAndStopsOnCancel)
{
    FakeRecords source(fields, books(3));
    std::vector<int> progress;
    int pumps = 0;
    ReportGenerator generator(small.layout, source, device, pages);
    generator.pumpEvents = [&] { ++pumps; };
    generator.onProgress = [&](int percent) { progress.push_back(percent); };
    ASSERT_TRUE(generator.run());
    EXPECT_EQ(pumps, 3);
    EXPECT_EQ(progress, std::vector<int>({33, 66, 100}));

    FakeRecords more(fields, books(40));
    ReportGenerator cancelled(small.layout, more, device, pages);
    pumps = 0;
    cancelled.pumpEvents = [&] {
        if (++pumps == 20)
            cancelled.cancel();
    };
    cancelled.onPageFinished = [&](int page) { finished.push_back(page); };
    EXPECT_FALSE(cancelled.run());
    EXPECT_EQ(more.position(), 19);
    EXPECT_EQ(finished, std::vector<int>({0}));
    EXPECT_EQ(pages.pageCount(), 1);
}

TEST(ReportRun, IsBusyWhileGeneratingAndRefusesASecondRequest)
{
    SmallTemplate small;
    FakeRecords source(fields, books(30));
    Report report(small.layout, source);
    const QImage device = printerResolutionDevice();
    PageStore pages;
    PageStore other;
    bool refused = false;
    bool busyMeanwhile = false;
    Report::Handlers handlers;
    handlers.pageFinished = [&](int) {
        busyMeanwhile = report.isBusy();
        refused = !report.generate(other, device, {});
    };
    EXPECT_TRUE(report.generate(pages, device, handlers));
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_TRUE(refused);
    EXPECT_EQ(other.pageCount(), 0);
    EXPECT_FALSE(report.isBusy());
}

TEST(ReportRun, StartsWithOneCopyPortraitAllPagesAndTakesTheOrientationChosen)
{
    SmallTemplate small;
    FakeRecords source(fields, books(30));
    Report report(small.layout, source);
    EXPECT_EQ(report.printer().copyCount(), 1);
    EXPECT_EQ(report.printer().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(report.printer().printRange(), QPrinter::AllPages);

    const QImage device = printerResolutionDevice();
    PageStore pages;
    ASSERT_TRUE(report.generate(pages, device, {}));
    EXPECT_EQ(pages.paperWidth(), 21000);
    EXPECT_EQ(pages.pageCount(), 3);

    report.printer().setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(report.generate(pages, device, {}));
    EXPECT_EQ(pages.paperWidth(), 29700);
    EXPECT_EQ(pages.paperLength(), 21000);
    // 210 mm pages hold fewer blocks.
    EXPECT_GT(pages.pageCount(), 3);
}

} // namespace
