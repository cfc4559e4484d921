// Generation of the printed catalogue into the page store of the preview, on
// the printer's device as the preview measures text, with pending events run
// between records as in the program.
#include "catalogtable.h"
#include "cataloguegenerator.h"
#include "pagestore.h"
#include "ufqrstscad.h"

#include <QElapsedTimer>
#include <QFont>
#include <QPrinter>

#include <benchmark/benchmark.h>

namespace {

void generateCatalogue(benchmark::State& state)
{
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    const int books = int(state.range(0));
    CatalogueTable table(RegionalSettings::italian());
    table.open();
    CatalogueGenerator::fill(table, books);
    TFFQRSTSCAD form(table);
    QPrinter& printer = form.report().printer();

    PageStore pages;
    double firstPageMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        Report::Handlers handlers;
        handlers.pageFinished = [&](int page) {
            if (page == 0)
                firstPageMs = clock.nsecsElapsed() / 1e6;
        };
        const bool complete = form.report().generate(pages, printer, handlers);
        if (!complete)
            state.SkipWithError("generation did not complete");
        benchmark::DoNotOptimize(pages.pageCount());
    }
    const double pageCount = pages.pageCount();
    state.counters["pages"] = pageCount;
    state.counters["pages_per_s"]
        = benchmark::Counter(pageCount * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bytes_per_page"] = double(pages.memoryBytes()) / pageCount;
    state.counters["first_page_ms"] = firstPageMs;
}

} // namespace

BENCHMARK(generateCatalogue)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
