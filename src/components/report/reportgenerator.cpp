#include "reportgenerator.h"

#include "recordsource.h"

#include <QCoreApplication>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

constexpr double epsilon = 1e-9;
const QColor white(Qt::white);

// Whole lines of the given height within a length.
int linesWithin(double length, double lineHeight)
{
    if (length <= 0 || lineHeight <= 0)
        return 0;
    return int(std::floor(length / lineHeight + epsilon));
}

} // namespace

struct ReportGenerator::Item
{
    const ReportItem* item = nullptr;
    int style = 0;
    const TextMeasurer* measurer = nullptr;
    int field = -1;
    // Lines the box shows at its design height.
    int linesInBox = 0;
    // The text of the current record and its lines.
    QString text;
    LineBreaker breaker;
    std::span<const QStringView> lines;
    // Of a stretching item: lines printed so far of the current record.
    std::size_t printed = 0;
    // Lines printed on the current page, and the growth they need.
    std::size_t shown = 0;
    double growth = 0;
};

struct ReportGenerator::Band
{
    const ReportBand* band = nullptr;
    int style = 0;
    std::vector<Item> items;
    bool stretches = false;
};

ReportGenerator::ReportGenerator(const ReportTemplate& layout, RecordSource& source,
    const QPaintDevice& device, PageStore& pages)
    : pumpEvents([] { QCoreApplication::processEvents(); })
    , m_layout(layout)
    , m_source(source)
    , m_device(device)
    , m_pages(pages)
{ }

ReportGenerator::~ReportGenerator() = default;

const TextMeasurer& ReportGenerator::measurerFor(const ReportFont& font)
{
    const QFont qfont = font.toQFont();
    for (const auto& measurer : m_measurers) {
        if (measurer->font() == qfont)
            return *measurer;
    }
    m_measurers.push_back(std::make_unique<TextMeasurer>(qfont, m_device));
    return *m_measurers.back();
}

ReportGenerator::Band ReportGenerator::prepareBand(const ReportBand& band)
{
    Band prepared;
    prepared.band = &band;
    ElementStyle background;
    background.name = band.name;
    background.kind = ElementKind::Band;
    background.colour = band.colour;
    prepared.style = m_pages.addStyle(background);
    for (const ReportItem* item : band.items) {
        Item entry;
        entry.item = item;
        ElementStyle style;
        style.name = item->name;
        style.colour = item->colour.resolve();
        style.alignment = item->alignment;
        style.opaque = item->opaque;
        style.lineWidth = item->lineWidth;
        if (item->kind == ReportItemKind::Line) {
            style.kind = ElementKind::Line;
        } else {
            entry.measurer = &measurerFor(item->font);
            style.kind = ElementKind::Text;
            style.font = entry.measurer->font();
            style.lineHeight = entry.measurer->lineHeight();
            style.ascent = entry.measurer->ascent();
            entry.linesInBox = linesWithin(item->height, style.lineHeight);
            if (item->kind == ReportItemKind::Data)
                entry.field = m_source.fieldIndex(item->fieldName);
        }
        entry.style = m_pages.addStyle(style);
        prepared.stretches = prepared.stretches || item->stretches;
        prepared.items.push_back(std::move(entry));
    }
    return prepared;
}

void ReportGenerator::prepare()
{
    m_pages.clear();
    const PageSetup& page = m_layout.page;
    m_pages.setPaperSize(page.pageWidth() * 10, page.pageLength() * 10);
    if (m_layout.titleBand)
        m_titleBand = std::make_unique<Band>(prepareBand(*m_layout.titleBand));
    if (m_layout.detailBand)
        m_detailBand = std::make_unique<Band>(prepareBand(*m_layout.detailBand));
}

int ReportGenerator::spaceLeft() const
{
    return m_layout.page.pageLength() - m_layout.page.bottomMargin - m_position;
}

void ReportGenerator::finishPage()
{
    if (!m_pages.isPageOpen())
        return;
    m_pages.endPage();
    if (onPageFinished)
        onPageFinished(m_pages.pageCount() - 1);
}

void ReportGenerator::newPage()
{
    finishPage();
    m_pages.beginPage();
    m_position = m_layout.page.topMargin;
}

void ReportGenerator::placeBand(Band& band, bool withRecord)
{
    const int designHeight = tenthsOfMm(band.band->height);
    if (!m_pages.isPageOpen()
        || (designHeight > spaceLeft() && designHeight <= m_layout.page.usableLength()))
        newPage();

    for (Item& entry : band.items) {
        const ReportItem& item = *entry.item;
        if (item.kind == ReportItemKind::Line)
            continue;
        if (item.kind == ReportItemKind::Caption) {
            entry.text = item.text;
        } else {
            entry.text.clear();
            if (withRecord && entry.field >= 0) {
                try {
                    entry.text = m_source.displayText(entry.field);
                } catch (const std::exception&) {
                    // A text that cannot be produced prints nothing.
                }
            }
        }
        const bool fits = item.fitsText || !item.wordWrap;
        entry.lines = entry.breaker.breakText(entry.text, item.width, fits, *entry.measurer,
            item.stretches ? INT_MAX : entry.linesInBox);
        entry.printed = 0;
    }

    const double bandTop = m_position / 10.0;
    const double room = (m_layout.page.pageLength() - m_layout.page.bottomMargin) / 10.0
        - (bandTop + band.band->height);
    double growth = 0;
    bool continues = false;
    for (Item& entry : band.items) {
        if (!entry.item->stretches || !entry.measurer)
            continue;
        const double lineHeight = entry.measurer->lineHeight();
        const std::size_t all = entry.lines.size();
        const std::size_t fitting = std::size_t(entry.linesInBox + linesWithin(room, lineHeight));
        entry.shown = std::min(all, fitting);
        entry.growth = entry.shown > std::size_t(entry.linesInBox)
            ? double(entry.shown - std::size_t(entry.linesInBox)) * lineHeight
            : 0;
        growth = std::max(growth, entry.growth);
        continues = continues || entry.shown < all;
    }

    const int left = m_layout.page.leftMargin * 10;
    const int top = m_position * 10;
    m_pages.addBox(band.style,
        {left, top, hundredthsOfMm(band.band->width), hundredthsOfMm(band.band->height + growth)});
    for (Item& entry : band.items) {
        const ReportItem& item = *entry.item;
        PageBox box {left + hundredthsOfMm(item.left), top + hundredthsOfMm(item.top),
            hundredthsOfMm(item.width), hundredthsOfMm(item.height)};
        if (item.kind == ReportItemKind::Line) {
            m_pages.addBox(entry.style, box);
            continue;
        }
        std::span<const QStringView> lines = entry.lines;
        if (item.stretches) {
            lines = lines.first(entry.shown);
            box.height = hundredthsOfMm(item.height + entry.growth);
            entry.printed = entry.shown;
        }
        if (item.fitsText) {
            double width = 0;
            for (const QStringView line : lines)
                width = std::max(width, entry.measurer->width(line));
            box.width = hundredthsOfMm(width);
        }
        m_pages.addText(entry.style, box, lines);
    }
    m_position += tenthsOfMm(band.band->height + growth);

    if (continues)
        placeContinuation(band);
}

// The lines of stretching items that did not fit go on the next pages, at
// their items' own offsets in the band placed again at the top margin.
void ReportGenerator::placeContinuation(Band& band)
{
    for (;;) {
        newPage();
        const double bandTop = m_position / 10.0;
        const double room = (m_layout.page.pageLength() - m_layout.page.bottomMargin) / 10.0
            - (bandTop + band.band->height);
        double growth = 0;
        bool continues = false;
        for (Item& entry : band.items) {
            entry.shown = 0;
            entry.growth = 0;
            if (!entry.item->stretches || !entry.measurer || entry.printed >= entry.lines.size())
                continue;
            const double lineHeight = entry.measurer->lineHeight();
            const std::size_t left = entry.lines.size() - entry.printed;
            std::size_t fitting = std::size_t(entry.linesInBox + linesWithin(room, lineHeight));
            // At least one line on a fresh page, so that printing ends.
            fitting = std::max<std::size_t>(fitting, 1);
            entry.shown = std::min(left, fitting);
            entry.growth = entry.shown > std::size_t(entry.linesInBox)
                ? double(entry.shown - std::size_t(entry.linesInBox)) * lineHeight
                : 0;
            growth = std::max(growth, entry.growth);
            continues = continues || entry.shown < left;
        }

        const int left = m_layout.page.leftMargin * 10;
        const int top = m_position * 10;
        m_pages.addBox(band.style,
            {left, top, hundredthsOfMm(band.band->width),
                hundredthsOfMm(band.band->height + growth)});
        for (Item& entry : band.items) {
            if (entry.shown == 0)
                continue;
            const ReportItem& item = *entry.item;
            const PageBox box {left + hundredthsOfMm(item.left), top + hundredthsOfMm(item.top),
                hundredthsOfMm(item.width), hundredthsOfMm(item.height + entry.growth)};
            m_pages.addText(entry.style, box, entry.lines.subspan(entry.printed, entry.shown));
            entry.printed += entry.shown;
        }
        m_position += tenthsOfMm(band.band->height + growth);
        if (!continues)
            return;
    }
}

bool ReportGenerator::run()
{
    m_cancelled = false;
    prepare();
    const qint64 count = m_source.recordCount();
    m_source.first();
    const bool empty = m_source.atEnd();
    if (empty && !m_layout.printIfEmpty)
        return true;

    if (m_titleBand)
        placeBand(*m_titleBand, false);
    if (empty) {
        if (m_detailBand)
            placeBand(*m_detailBand, false);
    } else {
        qint64 done = 0;
        while (!m_source.atEnd()) {
            if (pumpEvents)
                pumpEvents();
            if (m_cancelled)
                return false;
            if (m_detailBand)
                placeBand(*m_detailBand, true);
            m_source.next();
            ++done;
            if (onProgress && count > 0)
                onProgress(int(std::min<qint64>(done * 100 / count, 100)));
        }
    }
    finishPage();
    return true;
}
