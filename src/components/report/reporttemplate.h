#pragma once

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QString>

#include <optional>
#include <vector>

// A report template: bands of items placed on A4 pages. Lengths of bands and
// items are millimetres, as the layout gives them; the page set-up and the
// position on the page are whole tenths of a millimetre.

// Whole tenths of a millimetre nearest to a length in millimetres.
int tenthsOfMm(double mm);
// Whole hundredths of a millimetre nearest to a length in millimetres.
int hundredthsOfMm(double mm);

struct ReportFont
{
    QString family = QStringLiteral("Courier New");
    double pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    // The font to measure and draw with: no kerning, so a line measures the
    // sum of its characters on every device.
    QFont toQFont() const;
    bool operator==(const ReportFont& other) const = default;
};

// A fixed colour, or the system's window-text colour, taken from the
// application palette when the pages are made.
class ReportColour
{
public:
    static ReportColour rgb(int red, int green, int blue)
    {
        return ReportColour(QColor(red, green, blue));
    }
    static ReportColour windowText() { return ReportColour(std::nullopt); }

    QColor resolve() const;
    bool isWindowText() const { return !m_colour; }
    bool operator==(const ReportColour& other) const = default;

private:
    explicit ReportColour(std::optional<QColor> colour)
        : m_colour(colour)
    { }
    std::optional<QColor> m_colour;
};

enum class ReportItemKind : unsigned char {
    Caption, // fixed text
    Data, // display text of a field of the current record
    Line, // horizontal line across the box at half its height
};

enum class ReportAlignment : unsigned char { Left, Centre, Right };

struct ReportItem
{
    QString name;
    ReportItemKind kind = ReportItemKind::Caption;
    // Box from the band's top-left corner, in millimetres.
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QString text; // of a caption
    QString fieldName; // of a data item, found without regard to case
    ReportFont font;
    ReportColour colour = ReportColour::windowText();
    ReportAlignment alignment = ReportAlignment::Left;
    // Takes the width of its text, one line per paragraph; the width above is
    // what the text measured when the template was designed.
    bool fitsText = false;
    bool wordWrap = true;
    // Grows downwards, with its band, to show all its lines.
    bool stretches = false;
    // The box is filled white before the text is drawn.
    bool opaque = true;
    // Lines: thickness in pixels of the output device.
    int lineWidth = 2;
};

enum class ReportBandKind : unsigned char {
    Title, // once, at the top of the first page
    Detail, // once for every record
};

struct ReportBand
{
    QString name;
    ReportBandKind kind = ReportBandKind::Detail;
    double width = 0; // millimetres
    double height = 0; // design height, millimetres
    QColor colour = Qt::white;
    // In drawing order; the items belong to whoever holds the template.
    std::vector<const ReportItem*> items;
};

// Paper and margins in tenths of a millimetre; the paper's width and length
// are those of portrait orientation.
struct PageSetup
{
    int paperWidth = 2100;
    int paperLength = 2970;
    int topMargin = 100;
    int bottomMargin = 100;
    int leftMargin = 100;
    int rightMargin = 100;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

    // Width and length of the page as it is printed, in this orientation.
    int pageWidth() const;
    int pageLength() const;
    // Room for bands between the top and the bottom margin.
    int usableLength() const { return pageLength() - topMargin - bottomMargin; }
};

struct ReportTemplate
{
    QString title;
    PageSetup page;
    // An empty data set still yields a page: the title band and one detail
    // band without data.
    bool printIfEmpty = true;
    const ReportBand* titleBand = nullptr;
    const ReportBand* detailBand = nullptr;
};
