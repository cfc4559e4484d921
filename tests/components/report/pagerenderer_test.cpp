#include "pagerenderer.h"
#include "reportfixture.h"
#include "reportgenerator.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int dpi = 150;

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 200;
}

// Pixels darker than light grey within a box of the page (hundredths of mm).
int inkWithin(const QImage& image, const PageBox& box)
{
    const double scale = dpi / 2540.0;
    const QRect rect(int(box.left * scale), int(box.top * scale), int(box.width * scale),
        int(box.height * scale));
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += isInk(image.pixel(x, y));
    }
    return count;
}

class Rendering : public ::testing::Test
{
protected:
    Rendering()
    {
        line.name = QStringLiteral("line");
        line.kind = ReportItemKind::Line;
        line.top = 14.82;
        line.width = 190.76;
        line.height = 2.38;
        line.colour = ReportColour::rgb(128, 128, 128);
        line.opaque = false;
        small.title.items.push_back(&line);
        std::vector<QStringList> rows;
        for (int i = 0; i < 20; ++i)
            rows.push_back(
                {QStringLiteral("CODE%1").arg(i), i == 0 ? QStringLiteral("Notes") : QString()});
        FakeRecords source({QStringLiteral("code"), QStringLiteral("note")}, rows);
        const QImage device = printerResolutionDevice();
        ReportGenerator generator(small.layout, source, device, pages);
        generator.pumpEvents = nullptr;
        generator.run();
    }

    QImage renderPage(int page) const
    {
        QImage image(int(210 / 25.4 * dpi), int(297 / 25.4 * dpi), QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
        image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
        image.fill(Qt::white);
        QPainter painter(&image);
        PageRenderer(pages).renderActualSize(painter, page);
        return image;
    }

    PlacedElement first(int page, const QString& name) const
    {
        return elementsNamed(pages, page, name).at(0);
    }

    ReportItem line;
    SmallTemplate small;
    PageStore pages;
};

TEST_F(Rendering, DrawsTextsInTheirBoxesAndNothingElsewhere)
{
    ASSERT_EQ(pages.pageCount(), 2);
    const QImage image = renderPage(0);
    EXPECT_GT(inkWithin(image, first(0, QStringLiteral("heading")).box), 50);
    EXPECT_GT(inkWithin(image, first(0, QStringLiteral("code")).box), 50);
    EXPECT_GT(inkWithin(image, first(0, QStringLiteral("notes")).box), 20);
    // The second record has no notes: its box stays white.
    EXPECT_EQ(inkWithin(image, elementsNamed(pages, 0, QStringLiteral("notes")).at(1).box), 0);
    // Nothing between the left edge of the paper and the margin.
    EXPECT_EQ(inkWithin(image, {0, 0, 900, 29700}), 0);

    const QImage second = renderPage(1);
    EXPECT_GT(inkWithin(second, first(1, QStringLiteral("code")).box), 50);
}

TEST_F(Rendering, CentresTheHeadingInItsBox)
{
    const QImage image = renderPage(0);
    const PageBox box = first(0, QStringLiteral("heading")).box;
    const double scale = dpi / 2540.0;
    int leftmost = image.width();
    int rightmost = -1;
    for (int y = int(box.top * scale); y < int(box.bottom() * scale); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image.pixel(x, y))) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
        }
    }
    ASSERT_GE(rightmost, 0);
    const double centre = (leftmost + rightmost) / 2.0 / scale;
    EXPECT_NEAR(centre, box.left + box.width / 2.0, 100); // within 1 mm
}

TEST_F(Rendering, DrawsLinesAcrossTheirBoxAtHalfItsHeightTwoPixelsThick)
{
    const QImage image = renderPage(0);
    const PageBox box = first(0, QStringLiteral("line")).box;
    const double scale = dpi / 2540.0;
    const int x = int((box.left + box.width / 2) * scale);
    QList<int> rows;
    for (int y = int(box.top * scale); y <= int(box.bottom() * scale); ++y) {
        if (image.pixel(x, y) != qRgb(255, 255, 255)) {
            rows << y;
            EXPECT_EQ(image.pixel(x, y), qRgb(128, 128, 128));
        }
    }
    ASSERT_EQ(rows.size(), 2);
    EXPECT_NEAR((rows[0] + rows[1] + 1) / 2.0 / scale, box.top + box.height / 2.0, 10);
    EXPECT_TRUE(isInk(image.pixel(int(box.right() * scale) - 2, rows[0])));
}

TEST_F(Rendering, WritesEveryPageToAPdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.pdf"));
    {
        QPdfWriter pdf(path);
        pdf.setResolution(1200);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF());
        QPainter painter(&pdf);
        const PageRenderer renderer(pages);
        for (int page = 0; page < pages.pageCount(); ++page) {
            if (page > 0)
                pdf.newPage();
            renderer.renderActualSize(painter, page);
        }
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 2)
        << bytes.left(2000).toStdString();
    EXPECT_TRUE(bytes.contains("LiberationMono"));
}

} // namespace
