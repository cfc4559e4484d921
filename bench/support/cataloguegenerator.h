#pragma once

#include <QByteArray>

#include <cstdint>

class CatalogueTable;

// Realistic catalogues for measurements: Italian-looking titles, authors and
// publishers with accented letters, about a fifth of the books with notes,
// some titles repeated exactly and some differing only in letter case. The
// same count and seed give the same bytes; a smaller count gives a prefix.
namespace CatalogueGenerator {

// The bytes of a data file of count books, in no particular order.
QByteArray dataFile(int count, uint64_t seed = 1);

// Fills an open table with count books.
void fill(CatalogueTable& table, int count, uint64_t seed = 1);

} // namespace CatalogueGenerator
