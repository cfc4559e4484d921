#include "fields.h"

namespace {

constexpr std::array<FieldDef, fieldCount> fields {{
    {Field::Barcode, u"barcode", FieldKind::Text, 20, 0},
    {Field::Titolo, u"titolo", FieldKind::Text, 70, 1},
    {Field::Autore, u"autore", FieldKind::Text, 40, 2},
    {Field::Casaedi, u"casaedi", FieldKind::Text, 40, 3},
    {Field::Argomento, u"argomento", FieldKind::Text, 40, 4},
    {Field::AnnoPubblicazione, u"annopubblicazione", FieldKind::Date, 0, -1},
    {Field::Collana, u"collana", FieldKind::Text, 40, 5},
    {Field::NPagine, u"npagine", FieldKind::Integer, 0, -1},
    {Field::Lingua, u"lingua", FieldKind::Text, 20, 6},
    {Field::Formato, u"formato", FieldKind::Text, 20, 7},
    {Field::Prezzo, u"prezzo", FieldKind::Float, 0, -1},
    {Field::Costo, u"costo", FieldKind::Float, 0, -1},
    {Field::Note, u"note", FieldKind::Text, 500, 8},
    {Field::NumScad, u"NumScad", FieldKind::Text, 20, 9},
    {Field::RecId, u"RecId", FieldKind::RecordNumber, 0, -1},
}};

} // namespace

const FieldDef& fieldDef(Field field)
{
    return fields[index(field)];
}

const std::array<FieldDef, fieldCount>& allFields()
{
    return fields;
}

std::optional<Field> findField(QStringView name)
{
    for (const FieldDef& def : fields) {
        if (name.compare(QStringView(def.name), Qt::CaseInsensitive) == 0)
            return def.field;
    }
    return std::nullopt;
}
