// The view state of the banded grid on 1 000 000 books: sorting, grouping,
// filtering, the values of a filter drop-down, following one changed row, and
// its memory.
#include "bandedtableview.h"
#include "cataloguegenerator.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int books = 1000000;

CatalogueTable& catalogue()
{
    static std::unique_ptr<CatalogueTable> table;
    if (!table) {
        table = std::make_unique<CatalogueTable>(RegionalSettings::italian());
        table->open();
        CatalogueGenerator::fill(*table, books);
    }
    return *table;
}

std::unique_ptr<BandedTableView> makeView()
{
    auto view = std::make_unique<BandedTableView>(catalogue());
    GridLayout& layout = view->layout();
    const int band = layout.addBand({QString(), 1000, false});
    int position = 0;
    for (const Field field : {Field::Titolo, Field::Autore, Field::AnnoPubblicazione, Field::Prezzo,
             Field::Lingua, Field::Formato, Field::Note}) {
        GridColumn column;
        column.field = field;
        column.band = band;
        column.position = position++;
        layout.addColumn(column);
    }
    return view;
}

int column(const BandedTableView& view, Field field)
{
    return view.layout().columnOf(field);
}

void BM_SortByDate(benchmark::State& state)
{
    auto view = makeView();
    bool descending = false;
    for (auto _ : state) {
        view->sortBy(column(*view, Field::AnnoPubblicazione),
            descending ? SortOrder::Descending : SortOrder::Ascending);
        descending = !descending;
    }
}
BENCHMARK(BM_SortByDate)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_SortByAmount(benchmark::State& state)
{
    auto view = makeView();
    for (auto _ : state)
        view->sortBy(column(*view, Field::Prezzo), SortOrder::Ascending);
}
BENCHMARK(BM_SortByAmount)->Unit(benchmark::kMillisecond)->Iterations(4);

// The first sort by a text column learns its collated order.
void BM_SortByTextFirstTime(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto view = makeView();
        state.ResumeTiming();
        view->sortBy(column(*view, Field::Autore), SortOrder::Ascending);
        state.PauseTiming();
        state.counters["learned_bytes_per_book"] = double(view->learnedOrderBytes()) / books;
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortByTextFirstTime)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SortByTitleFirstTime(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto view = makeView();
        state.ResumeTiming();
        view->sortBy(column(*view, Field::Titolo), SortOrder::Descending);
        state.PauseTiming();
        state.counters["learned_bytes_per_book"] = double(view->learnedOrderBytes()) / books;
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortByTitleFirstTime)->Unit(benchmark::kMillisecond)->Iterations(2);

// Reversed, or sorted again after a change: what was learned serves.
void BM_SortByTextAgain(benchmark::State& state)
{
    auto view = makeView();
    const int autore = column(*view, Field::Autore);
    view->sortBy(autore, SortOrder::Ascending);
    CatalogueTable& table = catalogue();
    bool descending = true;
    for (auto _ : state) {
        state.PauseTiming();
        table.moveTo(1000);
        table.edit();
        table.setText(Field::Autore,
            descending ? QStringLiteral("Nuovo Autore") : QStringLiteral("Rossi Mario"));
        table.post();
        state.ResumeTiming();
        view->sortBy(autore, descending ? SortOrder::Descending : SortOrder::Ascending);
        descending = !descending;
    }
}
BENCHMARK(BM_SortByTextAgain)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_GroupByLinguaThenFormato(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto view = makeView();
        state.ResumeTiming();
        view->groupBy(column(*view, Field::Lingua));
        view->groupBy(column(*view, Field::Formato));
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GroupByLinguaThenFormato)->Unit(benchmark::kMillisecond)->Iterations(2);

// What a pick in the drop-down of "Lingua" sets: rows whose language is one
// value.
void BM_ApplyColumnFilter(benchmark::State& state)
{
    auto view = makeView();
    CatalogueTable& table = catalogue();
    const QByteArray wanted("INGLESE");
    for (auto _ : state) {
        view->setFilter([&](RowId row) { return table.textBytes(row, Field::Lingua) == wanted; },
            QStringLiteral("Lingua = INGLESE"));
        state.PauseTiming();
        view->clearFilter();
        state.ResumeTiming();
    }
    state.counters["rows_shown"] = view->dataRowCount();
}
BENCHMARK(BM_ApplyColumnFilter)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_DistinctValues(benchmark::State& state)
{
    auto view = makeView();
    for (auto _ : state)
        benchmark::DoNotOptimize(view->distinctValues(column(*view, Field::Autore)).size());
}
BENCHMARK(BM_DistinctValues)->Unit(benchmark::kMillisecond)->Iterations(3);

// One stored, changed and deleted book in a view sorted by author, grouped by
// language and filtered.
void BM_ReflectOneRow(benchmark::State& state)
{
    auto view = makeView();
    CatalogueTable& table = catalogue();
    view->groupBy(column(*view, Field::Lingua));
    view->sortBy(column(*view, Field::Autore), SortOrder::Ascending);
    view->setFilter([&](RowId row) { return table.textBytes(row, Field::Formato) != "CD"; },
        QStringLiteral("Formato <> CD"));
    view->expandAll();
    int n = 0;
    for (auto _ : state) {
        table.append();
        table.setText(Field::Titolo, QStringLiteral("Nuovo %1").arg(n++));
        table.setText(Field::Autore, QStringLiteral("Bianchi Anna"));
        table.setText(Field::Lingua, QStringLiteral("ITALIANO"));
        table.post();
        table.edit();
        table.setText(Field::Autore, QStringLiteral("Verdi Carlo"));
        table.post();
        table.remove();
    }
    state.counters["view_bytes_per_book"] = double(view->memoryBytes()) / books;
}
BENCHMARK(BM_ReflectOneRow)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

// Painting one full screen of rows, grouped, whatever the catalogue's size:
// the main window's grid in the middle of a million books.
#include "bandedgrid.h"
#include "maingrid.h"
#include "platformfonts.h"

#include <QApplication>
#include <QScrollBar>

namespace {

void BM_PaintScreen(benchmark::State& state)
{
    installFontSubstitutions();
    BandedTableView view(catalogue());
    configureMainGrid(view);
    view.groupBy(view.layout().columnOf(Field::Lingua));
    view.sortBy(view.layout().columnOf(Field::Autore), SortOrder::Ascending);
    view.expandAll();
    BandedGrid grid(view);
    grid.resize(1600, 1000);
    grid.show();
    QApplication::processEvents();
    grid.verticalScrollBar()->setValue(view.rowCount() / 2);
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        grid.viewport()->render(&image);
    if (const char* picture = std::getenv("TOMARIO_BENCH_PICTURE"))
        image.save(QString::fromLocal8Bit(picture));
    int rows = 0;
    for (int i = grid.firstShownRow(); i < view.rowCount() && grid.rowTop(i) < image.height(); ++i)
        ++rows;
    state.counters["rows_painted"] = rows;
}
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
