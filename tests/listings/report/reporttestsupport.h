#pragma once

#include "pageelements.h"
#include "pagestore.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

class CatalogueTable;

// "Courier New" served by its metric-compatible replacement, as the program
// arranges at start-up.
void registerReportFonts();

// A measuring device of printer resolution (1200 dpi) that costs nothing.
QImage printerResolutionDevice();

// Books "Libro 0001" … with short values in every field, appended through
// the table's own operations.
void addPlainBooks(CatalogueTable& table, int count, int from = 1);
// The same for large counts, through the data file's form.
void loadPlainBooks(CatalogueTable& table, int count);

// Pages of a PDF file.
int pdfPageCount(const QByteArray& pdf);
