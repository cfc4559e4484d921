#include "fieldlink.h"

#include "catalogtable.h"
#include "datasource.h"

#include <algorithm>

namespace FieldInput {

bool acceptsCharacter(FieldKind kind, QChar c, QChar decimalSeparator)
{
    const bool digitOrSign = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-';
    switch (kind) {
    case FieldKind::Integer:
        return digitOrSign;
    case FieldKind::Float:
        return digitOrSign || c == u'E' || c == u'e' || c == decimalSeparator;
    case FieldKind::Text:
    case FieldKind::Date:
    case FieldKind::RecordNumber:
        break;
    }
    return true;
}

QString toCase(QString text, LetterCase letterCase)
{
    if (letterCase == LetterCase::AsTyped)
        return text;
    for (QChar& c : text)
        c = letterCase == LetterCase::Upper ? c.toUpper() : c.toLower();
    return text;
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString dateDisplayFormat(QStringView shortDateFormat)
{
    QString format;
    QString literal;
    auto flushLiteral = [&] {
        if (literal.isEmpty())
            return;
        const bool needsQuotes
            = std::any_of(literal.begin(), literal.end(), [](QChar c) { return c.isLetter(); })
            || literal.contains(u'\'');
        if (needsQuotes)
            format += u'\'' + literal.replace(u"'"_qs, u"''"_qs) + u'\'';
        else
            format += literal;
        literal.clear();
    };
    for (const QChar c : shortDateFormat) {
        if (c == u'd' || c == u'M' || c == u'y') {
            flushLiteral();
            format += c;
        } else {
            literal += c;
        }
    }
    flushLiteral();
    return format;
}

} // namespace FieldInput

namespace NotesText {

namespace {

bool isBreak(QChar c)
{
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

} // namespace

QString fromField(QStringView note)
{
    QString text;
    text.reserve(note.size());
    for (qsizetype i = 0; i < note.size(); ++i) {
        const QChar c = note[i];
        if (c == u'\r') {
            if (i + 1 < note.size() && note[i + 1] == u'\n')
                ++i;
            text += u'\n';
        } else {
            text += c;
        }
    }
    return text;
}

QString toField(QStringView text)
{
    QString note;
    note.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (isBreak(c))
            note += u"\r\n";
        else
            note += c;
    }
    return note;
}

int fieldLength(QStringView text)
{
    qsizetype length = text.size();
    for (const QChar c : text) {
        if (isBreak(c))
            ++length;
    }
    return int(length);
}

} // namespace NotesText

FieldDataLink::FieldDataLink(Field field, QObject* parent)
    : QObject(parent)
    , m_field(field)
{ }

const FieldDef& FieldDataLink::fieldDef() const
{
    return ::fieldDef(m_field);
}

void FieldDataLink::setDataSource(DataSource* source)
{
    if (CatalogueTable* old = table())
        disconnect(old, nullptr, this, nullptr);
    m_source = source;
    if (CatalogueTable* t = table()) {
        connect(t, &CatalogueTable::pendingValueChanged, this, &FieldDataLink::fieldChanged);
        connect(t, &CatalogueTable::stateChanged, this, &FieldDataLink::reset);
        connect(t, &CatalogueTable::currentChanged, this, &FieldDataLink::reset);
        connect(t, &CatalogueTable::rowsReset, this, &FieldDataLink::reset);
        connect(t, &CatalogueTable::refreshed, this, &FieldDataLink::reset);
        connect(t, &CatalogueTable::rowChanged, this, &FieldDataLink::reset);
    }
    reset();
}

CatalogueTable* FieldDataLink::table() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

bool FieldDataLink::editing() const
{
    const CatalogueTable* t = table();
    return t
        && (t->state() == CatalogueTable::State::Edit
            || t->state() == CatalogueTable::State::Insert);
}

QString FieldDataLink::text() const
{
    const CatalogueTable* t = table();
    return t && t->isOpen() ? t->editText(m_field) : QString();
}

FieldValue FieldDataLink::value() const
{
    const CatalogueTable* t = table();
    return t && t->isOpen() ? t->value(m_field) : FieldValue();
}

void FieldDataLink::setText(const QString& text)
{
    if (CatalogueTable* t = table())
        t->setText(m_field, text);
}

void FieldDataLink::setValue(const FieldValue& value)
{
    if (CatalogueTable* t = table())
        t->setValue(m_field, value);
}

void FieldDataLink::reset()
{
    m_modified = false;
    emit recordChanged();
}

void FieldDataLink::fieldChanged(Field field)
{
    if (field == m_field)
        reset();
}
