#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The fields of a book, in the order of the catalogue table and of its data
// file, followed by the table's record number.
enum class Field : unsigned char {
    Barcode,
    Titolo,
    Autore,
    Casaedi,
    Argomento,
    AnnoPubblicazione,
    Collana,
    NPagine,
    Lingua,
    Formato,
    Prezzo,
    Costo,
    Note,
    NumScad,
    RecId,
};

inline constexpr int storedFieldCount = 14;
inline constexpr int fieldCount = 15;
inline constexpr int textFieldCount = 10;

enum class FieldKind : unsigned char {
    Text,
    Date,
    Integer,
    Float,
    RecordNumber, // calculated by the table, never stored in the data file
};

struct FieldDef
{
    Field field;
    const char16_t* name;
    FieldKind kind;
    int size; // characters, for text fields
    // Place among the text fields of a row, or -1.
    int textSlot;

    QString nameString() const { return QString::fromUtf16(name); }
    bool isStored() const { return kind != FieldKind::RecordNumber; }
};

const FieldDef& fieldDef(Field field);
const std::array<FieldDef, fieldCount>& allFields();
// The field of that name, letters compared without regard to case.
std::optional<Field> findField(QStringView name);

inline int index(Field field)
{
    return int(field);
}
