#include "bookrecord.h"

namespace {

template<typename T>
FieldValue toValue(const std::optional<T>& member)
{
    if (member)
        return *member;
    return std::monostate();
}

template<typename T>
void fromValue(std::optional<T>& member, const FieldValue& value)
{
    if (const T* held = std::get_if<T>(&value))
        member = *held;
    else
        member.reset();
}

} // namespace

FieldValue BookRecord::value(Field field) const
{
    switch (field) {
    case Field::Barcode:
        return toValue(barcode);
    case Field::Titolo:
        return toValue(titolo);
    case Field::Autore:
        return toValue(autore);
    case Field::Casaedi:
        return toValue(casaedi);
    case Field::Argomento:
        return toValue(argomento);
    case Field::AnnoPubblicazione:
        return toValue(annopubblicazione);
    case Field::Collana:
        return toValue(collana);
    case Field::NPagine:
        return toValue(npagine);
    case Field::Lingua:
        return toValue(lingua);
    case Field::Formato:
        return toValue(formato);
    case Field::Prezzo:
        return toValue(prezzo);
    case Field::Costo:
        return toValue(costo);
    case Field::Note:
        return toValue(note);
    case Field::NumScad:
        return toValue(NumScad);
    case Field::RecId:
        return RecId;
    }
    return std::monostate();
}

void BookRecord::setValue(Field field, const FieldValue& value)
{
    switch (field) {
    case Field::Barcode:
        fromValue(barcode, value);
        break;
    case Field::Titolo:
        fromValue(titolo, value);
        break;
    case Field::Autore:
        fromValue(autore, value);
        break;
    case Field::Casaedi:
        fromValue(casaedi, value);
        break;
    case Field::Argomento:
        fromValue(argomento, value);
        break;
    case Field::AnnoPubblicazione:
        fromValue(annopubblicazione, value);
        break;
    case Field::Collana:
        fromValue(collana, value);
        break;
    case Field::NPagine:
        fromValue(npagine, value);
        break;
    case Field::Lingua:
        fromValue(lingua, value);
        break;
    case Field::Formato:
        fromValue(formato, value);
        break;
    case Field::Prezzo:
        fromValue(prezzo, value);
        break;
    case Field::Costo:
        fromValue(costo, value);
        break;
    case Field::Note:
        fromValue(note, value);
        break;
    case Field::NumScad:
        fromValue(NumScad, value);
        break;
    case Field::RecId:
        if (const qint32* number = std::get_if<qint32>(&value))
            RecId = *number;
        break;
    }
}
