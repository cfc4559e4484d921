#pragma once

#include "fields.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>

// The value of one field: nothing (null), a text, a date, a whole number or an
// amount.
using FieldValue = std::variant<std::monostate, QString, QDate, qint32, double>;

inline bool isNullValue(const FieldValue& value)
{
    return std::holds_alternative<std::monostate>(value);
}

// One book: the fourteen stored fields of a row of the catalogue and its
// record number. A field without a value is empty (std::nullopt).
struct BookRecord
{
    std::optional<QString> barcode;
    std::optional<QString> titolo;
    std::optional<QString> autore;
    std::optional<QString> casaedi;
    std::optional<QString> argomento;
    std::optional<QDate> annopubblicazione;
    std::optional<QString> collana;
    std::optional<qint32> npagine;
    std::optional<QString> lingua;
    std::optional<QString> formato;
    std::optional<double> prezzo;
    std::optional<double> costo;
    std::optional<QString> note;
    std::optional<QString> NumScad;
    qint32 RecId = 0;

    FieldValue value(Field field) const;
    void setValue(Field field, const FieldValue& value);

    bool operator==(const BookRecord& other) const = default;
};
