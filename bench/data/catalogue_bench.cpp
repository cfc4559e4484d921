// The catalogue table on catalogues of 10 000, 100 000 and 1 000 000 books:
// load, save, full sort, storing, changing and deleting one row, finding by
// key.
#include "catalogtable.h"
#include "cataloguegenerator.h"
#include "collation.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// One catalogue of each size, made once and shared by the benchmarks.
struct Catalogue
{
    QByteArray file;
    std::unique_ptr<CatalogueTable> table;
};

Catalogue& catalogue(int count)
{
    static std::map<int, Catalogue> made;
    Catalogue& c = made[count];
    if (!c.table) {
        c.file = CatalogueGenerator::dataFile(count);
        c.table = std::make_unique<CatalogueTable>(RegionalSettings::italian());
        c.table->open();
        c.table->loadFromBytes(c.file);
    }
    return c;
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

void BM_Load(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Librdata.dat"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(catalogue(int(state.range(0))).file);
    }
    for (auto _ : state) {
        CatalogueTable table(RegionalSettings::italian());
        table.open();
        table.LoadDataFile(path);
        benchmark::DoNotOptimize(table.recordCount());
        state.PauseTiming();
        table.close();
        state.ResumeTiming();
    }
    state.counters["MB"] = double(catalogue(int(state.range(0))).file.size()) / 1e6;
}
BENCHMARK(BM_Load)->Apply(sizes)->Iterations(3);

void BM_Save(benchmark::State& state)
{
    QTemporaryDir dir;
    CatalogueTable& table = *catalogue(int(state.range(0))).table;
    for (auto _ : state)
        table.SaveDataFile(dir.filePath(QStringLiteral("Librdata.dat")));
}
BENCHMARK(BM_Save)->Apply(sizes)->Iterations(3);

// Putting every title in collated order from scratch, as a load does.
void BM_FullSort(benchmark::State& state)
{
    const CatalogueTable& table = *catalogue(int(state.range(0))).table;
    const std::size_t n = std::size_t(table.recordCount());
    for (auto _ : state) {
        const SortKeys keys(table.collation(), n,
            [&](std::size_t i) { return table.textBytes(table.rowAt(int(i)), Field::Titolo); });
        benchmark::DoNotOptimize(sortedOrder(keys).data());
    }
}
BENCHMARK(BM_FullSort)->Apply(sizes)->Iterations(3);

void BM_StoreNewRow(benchmark::State& state)
{
    CatalogueTable& table = *catalogue(int(state.range(0))).table;
    int n = 0;
    for (auto _ : state) {
        table.append();
        table.setText(Field::Titolo, QStringLiteral("Libro nuovo %1").arg(n++));
        table.post();
        state.PauseTiming();
        table.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StoreNewRow)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// A title changed so that the row moves across the catalogue, and back.
void BM_ChangeTitle(benchmark::State& state)
{
    CatalogueTable& table = *catalogue(int(state.range(0))).table;
    table.moveTo(10);
    const QString original = table.displayText(Field::Titolo);
    bool moved = false;
    for (auto _ : state) {
        table.edit();
        table.setText(Field::Titolo, moved ? original : QStringLiteral("ZZZ ultimo titolo"));
        table.post();
        moved = !moved;
    }
    if (moved) {
        table.edit();
        table.setText(Field::Titolo, original);
        table.post();
    }
}
BENCHMARK(BM_ChangeTitle)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_DeleteRow(benchmark::State& state)
{
    CatalogueTable& table = *catalogue(int(state.range(0))).table;
    for (auto _ : state) {
        state.PauseTiming();
        table.append();
        table.setText(Field::Titolo, QStringLiteral("Da cancellare"));
        table.post();
        state.ResumeTiming();
        table.remove();
    }
}
BENCHMARK(BM_DeleteRow)->Apply(sizes)->Unit(benchmark::kMicrosecond);

void BM_FindNumScad(benchmark::State& state)
{
    CatalogueTable& table = *catalogue(int(state.range(0))).table;
    const QString key = table.displayText(table.rowAt(table.recordCount() / 2), Field::NumScad);
    table.findNumScad(key); // the first lookup builds the index
    for (auto _ : state)
        benchmark::DoNotOptimize(table.findNumScad(key));
}
BENCHMARK(BM_FindNumScad)->Apply(sizes)->Unit(benchmark::kNanosecond);

void BM_TableMemory(benchmark::State& state)
{
    const Catalogue& c = catalogue(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(c.table->memoryBytes());
    state.counters["table_bytes_per_file_byte"]
        = double(c.table->memoryBytes()) / double(c.file.size());
}
BENCHMARK(BM_TableMemory)->Apply(sizes)->Iterations(1);

} // namespace
