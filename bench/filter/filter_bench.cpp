// Matching a filter against a catalogue of a million books.
#include "catalogtable.h"
#include "cataloguegenerator.h"
#include "filtercolumns.h"
#include "filtermatcher.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int bookCount = 1'000'000;

struct Catalogue
{
    Catalogue()
        : table(RegionalSettings::italian())
    {
        table.open();
        CatalogueGenerator::fill(table, bookCount);
        for (int i = 0; i < table.recordCount(); ++i)
            rows.push_back(table.rowAt(i));
    }

    FilterColumns columns() const
    {
        return FilterColumns::forTable(table,
            {{Field::Titolo, QStringLiteral("Titolo")}, {Field::Prezzo, QStringLiteral("Prezzo")},
                {Field::Lingua, QStringLiteral("Lingua")},
                {Field::AnnoPubblicazione, QStringLiteral("Data pubblicazione")},
                {Field::Note, QStringLiteral("note")}});
    }

    CatalogueTable table;
    std::vector<RowId> rows;
};

Catalogue& catalogue()
{
    static Catalogue instance;
    return instance;
}

FilterCondition like()
{
    return {Field::Titolo, FilterOperator::Like, {QStringLiteral("il %di%a")}};
}
FilterCondition priceBetween()
{
    return {Field::Prezzo, FilterOperator::Between, {10.0, 30.0}};
}
FilterCondition languageIn()
{
    return {
        Field::Lingua, FilterOperator::In, {QStringLiteral("ITALIANO"), QStringLiteral("INGLESE")}};
}
FilterCondition publishedSince()
{
    return {Field::AnnoPubblicazione, FilterOperator::GreaterOrEqual, {QDate(1990, 1, 1)}};
}
FilterCondition notesContain()
{
    return {Field::Note, FilterOperator::Contains, {QStringLiteral("dedica")}};
}

void run(benchmark::State& state, const FilterExpression& filter)
{
    Catalogue& books = catalogue();
    const FilterColumns columns = books.columns();
    std::size_t passed = 0;
    for (auto _ : state) {
        const FilterMatcher matcher(filter, columns, QDate(2024, 6, 12));
        passed = matcher.select(books.rows).size();
        benchmark::DoNotOptimize(passed);
    }
    state.counters["rows"] = double(books.rows.size());
    state.counters["passed"] = double(passed);
}

// Title like, price between, language in, and a group of a date condition
// or notes that contain a word.
void BM_FiveConditionsInTwoGroups(benchmark::State& state)
{
    FilterGroup either {GroupOperator::Or, {publishedSince(), notesContain()}};
    FilterExpression filter;
    filter.root = {GroupOperator::And, {like(), priceBetween(), languageIn(), either}};
    run(state, filter);
}
BENCHMARK(BM_FiveConditionsInTwoGroups)->Unit(benchmark::kMillisecond)->MinTime(2);

// Each condition alone, tested on every row.
void BM_OneCondition(benchmark::State& state)
{
    const FilterCondition conditions[]
        = {like(), priceBetween(), languageIn(), publishedSince(), notesContain()};
    FilterExpression filter;
    filter.root.items.emplace_back(conditions[state.range(0)]);
    run(state, filter);
}
BENCHMARK(BM_OneCondition)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->MinTime(1);

} // namespace
