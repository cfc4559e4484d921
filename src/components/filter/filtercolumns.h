#pragma once

#include "catalogtable.h"
#include "filterexpression.h"
#include "regionalsettings.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Collation;

// A column a filter can refer to, as the grid describes it.
struct FilterColumn
{
    Field field = Field::Titolo;
    QString caption;
    // A row's value; std::monostate when it has none.
    std::function<FieldValue(RowId)> value;
    // A row's value as the grid shows it.
    std::function<QString(RowId)> displayText;
    // Text columns, optional: a row's text in the catalogue's code page. It
    // spares the matching of texts a conversion per row.
    std::function<QByteArrayView(RowId)> textBytes;
    // The column's distinct values as shown, in the order the value lists of
    // the dialogs offer them.
    std::function<QStringList()> distinctValues;

    FilterKind kind() const { return filterKindOf(field); }
};

// The columns of a grid that filters refer to, with the regional settings in
// which their values are written and compared.
class FilterColumns
{
public:
    FilterColumns(const RegionalSettings& settings, std::vector<FilterColumn> columns);

    // The columns of the catalogue table with these captions, in this order.
    // Values come from the table; the distinct values are read when asked for,
    // in ascending order.
    static FilterColumns forTable(
        const CatalogueTable& table, const std::vector<std::pair<Field, QString>>& captions);

    const std::vector<FilterColumn>& columns() const { return m_columns; }
    const FilterColumn* find(Field field) const;
    const RegionalSettings& settings() const { return m_settings; }
    const Collation& collation() const { return *m_collation; }
    std::shared_ptr<const Collation> sharedCollation() const { return m_collation; }

    // A value as the dialogs and the filter bar write it: texts as they are,
    // numbers and dates in their regional form, the empty text for a blank.
    QString formatValue(Field field, const FieldValue& value) const;
    // A value typed for the column: the empty text is the blank value; a text
    // the column cannot take gives nothing.
    std::optional<FieldValue> parseValue(Field field, QStringView text) const;
    // Whether a value is of a kind the column holds (or blank).
    static bool suits(Field field, const FieldValue& value);

private:
    RegionalSettings m_settings;
    std::shared_ptr<const Collation> m_collation;
    std::vector<FilterColumn> m_columns;
};
