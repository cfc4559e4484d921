#include "filtercolumns.h"

#include "collation.h"
#include "valuetext.h"

#include <QSet>

#include <algorithm>

FilterColumns::FilterColumns(const RegionalSettings& settings, std::vector<FilterColumn> columns)
    : m_settings(settings)
    , m_collation(std::make_shared<Collation>(settings.collationLocale()))
    , m_columns(std::move(columns))
{ }

FilterColumns FilterColumns::forTable(
    const CatalogueTable& table, const std::vector<std::pair<Field, QString>>& captions)
{
    const CatalogueTable* source = &table;
    std::vector<FilterColumn> columns;
    columns.reserve(captions.size());
    for (const auto& [field, caption] : captions) {
        FilterColumn column;
        column.field = field;
        column.caption = caption;
        column.value = [source, field](RowId row) { return source->value(row, field); };
        column.displayText = [source, field](RowId row) { return source->displayText(row, field); };
        if (fieldDef(field).kind == FieldKind::Text) {
            column.textBytes = [source, field](RowId row) { return source->textBytes(row, field); };
        }
        column.distinctValues = [source, field] {
            // Distinct values in the order of the values themselves.
            std::vector<std::pair<FieldValue, QString>> values;
            QSet<QString> seen;
            for (int i = 0; i < source->recordCount(); ++i) {
                const RowId row = source->rowAt(i);
                QString text = source->displayText(row, field);
                if (text.isEmpty() || seen.contains(text))
                    continue;
                seen.insert(text);
                values.emplace_back(source->value(row, field), std::move(text));
            }
            const Collation& collation = source->collation();
            std::sort(values.begin(), values.end(), [&collation](const auto& a, const auto& b) {
                const FieldValue& x = a.first;
                const FieldValue& y = b.first;
                if (const QString* s = std::get_if<QString>(&x))
                    return collation.compare(*s, std::get<QString>(y)) < 0;
                return x < y;
            });
            QStringList list;
            list.reserve(qsizetype(values.size()));
            for (auto& entry : values)
                list.append(std::move(entry.second));
            return list;
        };
        columns.push_back(std::move(column));
    }
    return FilterColumns(table.regionalSettings(), std::move(columns));
}

const FilterColumn* FilterColumns::find(Field field) const
{
    for (const FilterColumn& column : m_columns) {
        if (column.field == field)
            return &column;
    }
    return nullptr;
}

QString FilterColumns::formatValue(Field field, const FieldValue& value) const
{
    if (const QString* text = std::get_if<QString>(&value))
        return *text;
    if (const QDate* date = std::get_if<QDate>(&value))
        return m_settings.formatDate(*date);
    // Numbers as the column shows them: amounts with two decimals.
    const bool amount = fieldDef(field).kind == FieldKind::Float;
    if (const qint32* number = std::get_if<qint32>(&value)) {
        return amount ? ValueText::formatAmount(*number, m_settings.decimalSeparator())
                      : QString::number(*number);
    }
    if (const double* number = std::get_if<double>(&value)) {
        return amount ? ValueText::formatAmount(*number, m_settings.decimalSeparator())
                      : QString::number(*number);
    }
    return QString();
}

std::optional<FieldValue> FilterColumns::parseValue(Field field, QStringView text) const
{
    if (text.isEmpty())
        return FieldValue();
    switch (fieldDef(field).kind) {
    case FieldKind::Text:
        return FieldValue(text.toString());
    case FieldKind::Date:
        if (const std::optional<QDate> date = m_settings.parseDate(text.trimmed()))
            return FieldValue(*date);
        return std::nullopt;
    case FieldKind::Integer:
    case FieldKind::RecordNumber:
        if (const std::optional<qint32> number = ValueText::parseInteger(text.trimmed()))
            return FieldValue(*number);
        return std::nullopt;
    case FieldKind::Float:
        if (const std::optional<double> amount
            = ValueText::parseAmount(text.trimmed(), m_settings.decimalSeparator()))
            return FieldValue(*amount);
        return std::nullopt;
    }
    return std::nullopt;
}

bool FilterColumns::suits(Field field, const FieldValue& value)
{
    if (isNullValue(value))
        return true;
    switch (filterKindOf(field)) {
    case FilterKind::Text:
        return std::holds_alternative<QString>(value);
    case FilterKind::Number:
        return std::holds_alternative<qint32>(value)
            || (std::holds_alternative<double>(value) && fieldDef(field).kind == FieldKind::Float);
    case FilterKind::Date:
        return std::holds_alternative<QDate>(value) && std::get<QDate>(value).isValid();
    }
    return false;
}
