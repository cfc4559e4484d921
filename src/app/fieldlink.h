#pragma once

#include "bookrecord.h"
#include "fields.h"

#include <QObject>
#include <QString>
#include <QStringView>

class CatalogueTable;
class DataSource;

// The case into which an edit turns the letters typed into it.
enum class LetterCase { AsTyped, Upper, Lower };

// What the user may type into the edit of a field.
namespace FieldInput {

// Whether a typed character suits a field of that kind: digits and signs for
// whole numbers; digits, signs, the exponent letter and the decimal
// separator for amounts; anything for texts and dates.
bool acceptsCharacter(FieldKind kind, QChar c, QChar decimalSeparator);

// The text with its letters turned to the case, character by character, so
// that its length stays the same.
QString toCase(QString text, LetterCase letterCase);

// The text without leading and trailing spaces and control characters.
QStringView trimmed(QStringView text);

// A short date format of the regional settings (runs of "d", "M" and "y" with
// text between them) as a display format of Qt's date editors, which quote
// the letters of that text.
QString dateDisplayFormat(QStringView shortDateFormat);

} // namespace FieldInput

// The notes of a book as a text box shows them and as the field keeps them.
// The field keeps its line breaks as CR LF; a text box knows only one kind of
// break.
namespace NotesText {

// The longest notes the field takes, counting each line break as CR LF.
inline constexpr int maxLength = 500;

// Each CR LF, lone CR and lone LF of the field becomes one "\n".
QString fromField(QStringView note);
// Each "\n", paragraph and line separator becomes CR LF.
QString toField(QStringView text);
// The length the shown text has in the field: each line break counts twice.
int fieldLength(QStringView text);

} // namespace NotesText

// Connects one control to one field of the catalogue table through a data
// source: tells the control when to show the field anew (another row became
// current, the state changed, the field's pending value changed) and passes
// what the user typed back into the field.
class FieldDataLink : public QObject
{
    Q_OBJECT

public:
    explicit FieldDataLink(Field field, QObject* parent = nullptr);

    Field field() const { return m_field; }
    const FieldDef& fieldDef() const;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    CatalogueTable* table() const;

    // True while the table has a new row or a change pending.
    bool editing() const;
    // The field of the pending row while editing, else of the current row;
    // nothing without a row.
    QString text() const;
    FieldValue value() const;

    // Store into the pending row; throw the field's error for a value it
    // cannot take.
    void setText(const QString& text);
    void setValue(const FieldValue& value);

    // Whether the control holds input not yet stored into the field.
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    // Drops the input and shows the field again.
    void reset();

signals:
    // The control shows the field anew; input not yet stored is dropped.
    void recordChanged();

private:
    void fieldChanged(Field field);

    Field m_field;
    DataSource* m_source = nullptr;
    bool m_modified = false;
};
