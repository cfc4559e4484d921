// The HTML page of a large catalogue: a table of nine columns and 3 + 2n rows
// laid out as the catalogue grid shows its books at start-up, with realistic
// texts, then written as a page.
//
//   bench_html --benchmark_filter='/1000000'
//
// reports, besides the time, the page's size and the peak memory of the
// process, before and after the listing (the catalogue itself is made first).
#include "catalogtable.h"
#include "cataloguegenerator.h"
#include "cellstyle.h"
#include "htmlpage.h"
#include "listingtable.h"
#include "regionalsettings.h"

#include <QFileInfo>
#include <QPalette>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <sys/resource.h>

namespace {

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

CatalogueTable& catalogue(int count)
{
    static std::map<int, std::unique_ptr<CatalogueTable>> catalogues;
    auto& table = catalogues[count];
    if (!table) {
        table = std::make_unique<CatalogueTable>(RegionalSettings::italian());
        table->open();
        CatalogueGenerator::fill(*table, count);
    }
    return *table;
}

struct Header
{
    Field field;
    const char16_t* caption;
    int column;
    int span;
};

// The two header lines of the grid at start-up.
const Header line0[] = {{Field::Barcode, u"Codice", 0, 1}, {Field::Titolo, u"Titolo", 1, 1},
    {Field::AnnoPubblicazione, u"Data pubblicazione", 2, 1}, {Field::Formato, u"Formato", 3, 1},
    {Field::NPagine, u"N.Pagine", 4, 1}, {Field::Lingua, u"Lingua", 5, 1},
    {Field::Prezzo, u"Prezzo", 6, 1}, {Field::Costo, u"Costo", 7, 1}, {Field::Note, u"note", 8, 1}};
const Header line1[] = {{Field::Autore, u"Autore", 0, 2}, {Field::Argomento, u"Argomento", 2, 2},
    {Field::Collana, u"Collana", 4, 2}, {Field::Casaedi, u"Casa editrice", 6, 3}};

CellStyle look(
    CellAlignment alignment, const char16_t* font, bool bold, RgbColour background, RgbColour text)
{
    CellStyle style = DefaultCellStyle();
    style.alignment = alignment;
    style.fontName = QString::fromUtf16(font);
    style.fontStyle.bold = bold;
    style.fontSize = 9;
    style.background = background;
    style.fontColour = text;
    return style;
}

// The table of the listing, with the border edges of every book's two rows
// registered cell by cell.
void buildListing(const CatalogueTable& books, ListingTable& table, StyleRegistry& registry)
{
    const RgbColour navy {0, 0, 138};
    const RgbColour tooltip {255, 255, 225};
    const RgbColour window {255, 255, 255};
    CellStyle band = DefaultCellStyle();
    band.fontName = QStringLiteral("MS Sans Serif");
    band.fontCharset = 1;
    CellStyle filler = band;
    for (CellBorder& border : filler.borders)
        border.width = 0;
    const int bandStyle = registry.registerStyle(band);
    const int headerFiller = registry.registerStyle(filler);
    const int header
        = registry.registerStyle(look(CellAlignment::Left, u"Tahoma", true, tooltip, navy));
    const int recordFiller = registry.registerStyle(filler);
    const int key
        = registry.registerStyle(look(CellAlignment::Left, u"HE_TERMINAL", false, tooltip, navy));
    const int left
        = registry.registerStyle(look(CellAlignment::Left, u"HE_TERMINAL", false, window, navy));
    const int right
        = registry.registerStyle(look(CellAlignment::Right, u"HE_TERMINAL", false, window, navy));

    table.placeBlock(0, 0, 2, 1, bandStyle, u"");
    table.placeBlock(2, 0, 7, 1, bandStyle, u"Dettagli");
    for (int column = 0; column < 9; ++column) {
        table.setStyleNumber(column, 1, headerFiller);
        table.setStyleNumber(column, 2, headerFiller);
    }
    for (const Header& h : line0)
        table.placeBlock(h.column, 1, h.span, 1, header, h.caption);
    for (const Header& h : line1)
        table.placeBlock(h.column, 2, h.span, 1, header, h.caption);

    auto styleOf = [&](Field field) {
        if (field == Field::Barcode || field == Field::Titolo)
            return key;
        if (field == Field::NPagine || field == Field::Prezzo || field == Field::Costo)
            return right;
        return left;
    };
    int t = 3;
    for (int position = 0; position < books.recordCount(); ++position, t += 2) {
        const RowId row = books.rowAt(position);
        for (int column = 0; column < 9; ++column) {
            table.setStyleNumber(column, t, recordFiller);
            table.setStyleNumber(column, t + 1, recordFiller);
        }
        for (const Header& h : line0)
            table.placeBlock(
                h.column, t, h.span, 1, styleOf(h.field), books.displayText(row, h.field));
        for (const Header& h : line1)
            table.placeBlock(
                h.column, t + 1, h.span, 1, styleOf(h.field), books.displayText(row, h.field));
        // Edges: top and bottom of the book, left and right of each band.
        for (int column = 0; column < 9; ++column) {
            for (int r = t; r < t + 2; ++r) {
                CellStyle style = registry.style(table.styleNumber(column, r));
                style.border(r == t ? BorderSide::Top : BorderSide::Bottom).width = 1;
                if (column == 1)
                    style.border(BorderSide::Right).width = 1;
                if (column == 2)
                    style.border(BorderSide::Left).width = 1;
                table.setStyleNumber(column, r, registry.registerStyle(style));
            }
        }
    }
}

void BM_HtmlListing(benchmark::State& state)
{
    rememberDefaultCellStyleColours(QPalette());
    const int count = int(state.range(0));
    const CatalogueTable& books = catalogue(count);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LibrLst.html"));
    const double before = peakMegabytes();

    double buildSeconds = 0;
    double writeSeconds = 0;
    double tableMegabytes = 0;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        ListingTable table({119, 220, 78, 104, 79, 97, 69, 65, 747}, 3 + 2 * count);
        StyleRegistry registry;
        buildListing(books, table, registry);
        const auto built = Clock::now();
        WriteHtmlPage(path, table, registry);
        const auto written = Clock::now();
        buildSeconds += std::chrono::duration<double>(built - start).count();
        writeSeconds += std::chrono::duration<double>(written - built).count();
        tableMegabytes = double(table.memoryBytes()) / (1 << 20);
    }
    const double pageMegabytes = double(QFileInfo(path).size()) / (1 << 20);
    const double after = peakMegabytes();
    const double runs = double(state.iterations());
    state.counters["build_s"] = buildSeconds / runs;
    state.counters["write_s"] = writeSeconds / runs;
    state.counters["page_MB"] = pageMegabytes;
    state.counters["table_MB"] = tableMegabytes;
    state.counters["peak_before_MB"] = before;
    state.counters["peak_after_MB"] = after;
    state.counters["listing_peak_per_page"] = (after - before) / pageMegabytes;
}

} // namespace

BENCHMARK(BM_HtmlListing)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
