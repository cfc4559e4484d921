#pragma once

#include "catalogtable.h"
#include "filtercolumns.h"

#include <QStringList>

#include <initializer_list>
#include <utility>

// A small catalogue under Italian settings, its books labelled by their code,
// and the filter columns over it.
class FilterCatalogue
{
public:
    FilterCatalogue()
        : table(RegionalSettings::italian())
    {
        table.open();
    }

    // A book with the given values; the fields not given have no value.
    RowId add(const QString& label, std::initializer_list<std::pair<Field, FieldValue>> values)
    {
        table.append();
        table.setValue(Field::Barcode, label);
        for (const auto& [field, value] : values)
            table.setValue(field, value);
        table.post();
        return table.currentRow();
    }

    std::vector<RowId> rows() const
    {
        std::vector<RowId> result;
        for (int i = 0; i < table.recordCount(); ++i)
            result.push_back(table.rowAt(i));
        return result;
    }

    // The labels of the rows, sorted.
    QStringList labels(const std::vector<RowId>& rows) const
    {
        QStringList result;
        for (const RowId row : rows)
            result << table.displayText(row, Field::Barcode);
        result.sort();
        return result;
    }

    FilterColumns columns() const
    {
        return FilterColumns::forTable(table,
            {{Field::Titolo, QStringLiteral("Titolo")}, {Field::Lingua, QStringLiteral("Lingua")},
                {Field::NPagine, QStringLiteral("N.Pagine")},
                {Field::Prezzo, QStringLiteral("Prezzo")},
                {Field::AnnoPubblicazione, QStringLiteral("Data pubblicazione")},
                {Field::Note, QStringLiteral("note")}});
    }

    CatalogueTable table;
};
