#include "linebreaker.h"
#include "reportfixture.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct BreakCase
{
    const char* what;
    QString text;
    double boxInCharacters; // box width in widths of one character
    bool fitsText;
    QStringList lines;
};

void PrintTo(const BreakCase& c, std::ostream* out)
{
    *out << c.what;
}

class LineBreaking : public ::testing::TestWithParam<BreakCase>
{
};

TEST_P(LineBreaking, GivesTheLinesOfTheBox)
{
    const BreakCase& c = GetParam();
    const TextMeasurer measurer = courier8();
    const double box = c.boxInCharacters * measurer.width(QChar(u'x'));
    EXPECT_EQ(breakLines(c.text, box, c.fitsText, measurer), c.lines) << c.what;
}

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

INSTANTIATE_TEST_SUITE_P(Rules, LineBreaking,
    ::testing::Values(BreakCase {"empty text: no line", s(u""), 10.5, false, {}},
        BreakCase {"short text", s(u"abc"), 10.5, false, {s(u"abc")}},
        BreakCase {"a word that would make the line wider starts the next", s(u"aaaa bbbb cccc"),
            10.5, false, {s(u"aaaa bbbb "), s(u"cccc")}},
        BreakCase {"the space stays with its word and counts", s(u"aaaa bbbbb cc"), 10.5, false,
            {s(u"aaaa "), s(u"bbbbb cc")}},
        BreakCase {
            "a line exactly as wide as the box", s(u"abcdefghij"), 10, false, {s(u"abcdefghij")}},
        BreakCase {"words end after a hyphen", s(u"alpha-beta-gamma"), 10.5, false,
            {s(u"alpha-"), s(u"beta-gamma")}},
        BreakCase {"a word wider than the box is cut and its rest dropped",
            s(u"abcdefghijklmnop qr"), 10.5, false, {s(u"abcdefghij"), s(u"qr")}},
        BreakCase {"the cut word takes a line of its own", s(u"ab abcdefghijklmnop"), 10.5, false,
            {s(u"ab "), s(u"abcdefghij")}},
        BreakCase {
            "paragraphs at carriage returns", s(u"one\rtwo"), 10.5, false, {s(u"one"), s(u"two")}},
        BreakCase {"line feeds are dropped", s(u"one\r\ntwo\nthree"), 10.5, false,
            {s(u"one"), s(u"twothree")}},
        BreakCase {"an empty paragraph is an empty line", s(u"one\r\r\ntwo"), 10.5, false,
            {s(u"one"), s(u""), s(u"two")}},
        BreakCase {
            "a break at the very end starts no line", s(u"one\r\n"), 10.5, false, {s(u"one")}},
        BreakCase {"fits text: one line per paragraph, however wide",
            s(u"a line much wider than its box\rnext"), 3, true,
            {s(u"a line much wider than its box"), s(u"next")}},
        BreakCase {"each paragraph is broken on its own", s(u"aaaa bbbb cc\rdd"), 10.5, false,
            {s(u"aaaa bbbb "), s(u"cc"), s(u"dd")}}),
    [](const ::testing::TestParamInfo<BreakCase>& info) { return std::to_string(info.index); });

TEST(LineBreaker, StopsAtTheLinesAsked)
{
    const TextMeasurer measurer = courier8();
    LineBreaker breaker;
    const auto lines = breaker.breakText(QStringLiteral("aaaa bbbb cccc dddd"),
        5.5 * measurer.width(QChar(u'x')), false, measurer, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], QStringLiteral("aaaa "));
}

// Lines must break the same on the pages of the preview and on paper: the
// printers' devices measure alike.
TEST(TextMeasurer, PrinterPdfAndImageOfTheSameResolutionMeasureAlike)
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("m.pdf")));
    pdf.setResolution(1200);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    ASSERT_EQ(printer.resolution(), 1200);
    const QImage image = printerResolutionDevice();
    const QString text = QStringLiteral("Casa Editrice Libraria Ulrico Hoepli \u20AC 12,50");
    for (const bool bold : {false, true}) {
        ReportFont font;
        font.bold = bold;
        const TextMeasurer onImage(font.toQFont(), image);
        const TextMeasurer onPdf(font.toQFont(), pdf);
        const TextMeasurer onPrinter(font.toQFont(), printer);
        EXPECT_DOUBLE_EQ(onImage.width(text), onPdf.width(text));
        EXPECT_DOUBLE_EQ(onImage.width(text), onPrinter.width(text));
        EXPECT_DOUBLE_EQ(onImage.lineHeight(), onPrinter.lineHeight());
        // The items of the catalogue's template are 4.50 mm high: one line.
        EXPECT_EQ(int(4.5 / onPrinter.lineHeight()), 1);
    }
}

} // namespace
