#pragma once

#include <QString>

#include <ostream>
#include <vector>

// A cell of a table as a browser built it.
struct DomCell
{
    QString columnSpan; // as the attribute says, empty when absent
    QString rowSpan;
    QString align;
    QString cssClass;
    QString html; // the cell's content, as the browser serialises it

    bool operator==(const DomCell&) const = default;
};

void PrintTo(const DomCell& cell, std::ostream* out);

// The rows of the first table of a serialised DOM, each a list of cells.
std::vector<std::vector<DomCell>> domTableRows(const QString& dom);
