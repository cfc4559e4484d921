#include "reportfixture.h"

#include <QFont>

#include <gtest/gtest.h>

namespace {

// "Courier New" is served by its metric-compatible replacement, as the
// program arranges at start-up.
class ReportFonts : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (!QFont::substitutes(QStringLiteral("Courier New"))
                 .contains(QStringLiteral("Liberation Mono")))
            QFont::insertSubstitution(
                QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    }
};

const auto* const reportFonts = ::testing::AddGlobalTestEnvironment(new ReportFonts);

} // namespace

QImage printerResolutionDevice()
{
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = int(1200 / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

TextMeasurer courier8()
{
    ReportFont font;
    font.pointSize = 8;
    return TextMeasurer(font.toQFont(), printerResolutionDevice());
}

int FakeRecords::fieldIndex(QStringView name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (name.compare(m_fields[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString FakeRecords::displayText(int field) const
{
    const QString& text = m_rows[std::size_t(m_position)][field];
    if (text == failingText())
        throw std::runtime_error("no text");
    return text;
}

SmallTemplate::SmallTemplate()
{
    heading.name = QStringLiteral("heading");
    heading.text = QStringLiteral("HEAD");
    heading.top = 9.26;
    heading.width = 200.29;
    heading.height = 5.03;
    heading.font.pointSize = 12;
    heading.font.bold = true;
    heading.alignment = ReportAlignment::Centre;

    code.name = QStringLiteral("code");
    code.kind = ReportItemKind::Data;
    code.fieldName = QStringLiteral("CODE");
    code.left = 0.53;
    code.width = 31.49;
    code.height = 4.50;

    noteCaption.name = QStringLiteral("noteCaption");
    noteCaption.text = QStringLiteral("NOTE:");
    noteCaption.left = 21.70;
    noteCaption.top = 12.70;
    noteCaption.width = 9.53;
    noteCaption.height = 4.50;
    noteCaption.fitsText = true;
    noteCaption.colour = ReportColour::rgb(128, 128, 128);

    notes.name = QStringLiteral("notes");
    notes.kind = ReportItemKind::Data;
    notes.fieldName = QStringLiteral("Note");
    notes.left = 34.40;
    notes.top = 12.70;
    notes.width = 154.25;
    notes.height = 4.50;
    notes.stretches = true;

    title.name = QStringLiteral("title");
    title.kind = ReportBandKind::Title;
    title.width = 189.97;
    title.height = 32.54;
    title.items = {&heading};

    detail.name = QStringLiteral("detail");
    detail.width = 189.97;
    detail.height = 17.99;
    detail.items = {&code, &noteCaption, &notes};

    layout.title = QStringLiteral("SMALL");
    layout.titleBand = &title;
    layout.detailBand = &detail;
}
