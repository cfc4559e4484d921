// tomario_generate COUNT FILE [SEED]: writes a generated catalogue file.
#include "cataloguegenerator.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s COUNT FILE [SEED]\n", argv[0]);
        return 2;
    }
    const uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray bytes = CatalogueGenerator::dataFile(std::atoi(argv[1]), seed);
    return file.write(bytes) == bytes.size() ? 0 : 1;
}
