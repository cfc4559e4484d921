#pragma once

#include "pagestore.h"

#include <QString>

#include <vector>

// The elements of a page named so, in drawing order.
std::vector<PlacedElement> elementsNamed(const PageStore& pages, int page, const QString& name);
// Tops of the elements so named, in tenths of a millimetre.
std::vector<double> topsInTenths(const PageStore& pages, int page, const QString& name);
