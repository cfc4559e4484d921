// The HTML listing of the main window's grid for large catalogues: 100 000
// books as the grid shows them at start-up and grouped by "Lingua", and
// 1 000 000 books at start-up.
//
//   bench_html_listing --benchmark_filter=Ungrouped/1000000
//
// Besides the time, each case reports the page's size and the memory the
// listing needed at its peak, above what the process held before it (the
// catalogue and the grid's view are made first), also as a multiple of the
// page's size.
#include "bandedtableview.h"
#include "catalogtable.h"
#include "cataloguegenerator.h"
#include "cellstyle.h"
#include "htmllisting.h"
#include "maingrid.h"
#include "regionalsettings.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// A line of /proc/self/status, in kilobytes.
double statusMegabytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Starts the peak of the resident memory afresh from what is held now.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
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

void runListing(benchmark::State& state, bool groupedByLanguage)
{
    rememberDefaultCellStyleColours(QApplication::palette());
    const int count = int(state.range(0));
    BandedTableView view(catalogue(count));
    configureMainGrid(view);
    if (groupedByLanguage)
        view.groupBy(view.layout().columnOf(Field::Lingua));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LibrLst.html"));

    double peakAbove = 0;
    for (auto _ : state) {
        resetPeakMemory();
        const double before = statusMegabytes("VmRSS");
        WriteHtmlListing(path, view);
        peakAbove = std::max(peakAbove, statusMegabytes("VmHWM") - before);
    }
    const double pageMegabytes = double(QFileInfo(path).size()) / (1 << 20);
    state.counters["page_MB"] = pageMegabytes;
    state.counters["listing_peak_MB"] = peakAbove;
    state.counters["peak_per_page"] = peakAbove / pageMegabytes;
    state.counters["rows"] = view.rowCount();
}

void BM_HtmlListingUngrouped(benchmark::State& state)
{
    runListing(state, false);
}

void BM_HtmlListingGroupedByLanguage(benchmark::State& state)
{
    runListing(state, true);
}

} // namespace

BENCHMARK(BM_HtmlListingUngrouped)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_HtmlListingGroupedByLanguage)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
