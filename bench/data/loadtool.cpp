// tomario_load_tool FILE [OUT]: loads FILE into the catalogue table (read,
// decode, parse every value, title order) and, with OUT, saves it there.
// Prints the times and the peak memory of the process.
#include "catalogtable.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [OUT]\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    CatalogueTable table(RegionalSettings::italian());
    table.open();
    const auto start = Clock::now();
    table.LoadDataFile(QString::fromLocal8Bit(argv[1]));
    const auto loaded = Clock::now();
    if (argc > 2)
        table.SaveDataFile(QString::fromLocal8Bit(argv[2]));
    const auto saved = Clock::now();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rows=%d load_ms=%.1f save_ms=%.1f total_ms=%.1f peak_kib=%ld table_kib=%zu\n",
        table.recordCount(), ms(start, loaded), ms(loaded, saved), ms(start, saved),
        usage.ru_maxrss, table.memoryBytes() / 1024);
    return 0;
}
