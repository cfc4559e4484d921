#pragma once

#include <QString>
#include <QStringView>

class CatalogueTable;

// The records a report walks, in their own order, and the display texts of
// their fields.
class RecordSource
{
public:
    virtual ~RecordSource() = default;

    virtual int recordCount() const = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    // True once next() has gone past the last record, or after first() when
    // there is none.
    virtual bool atEnd() const = 0;
    // The field of that name, letters compared without regard to case, or -1.
    virtual int fieldIndex(QStringView name) const = 0;
    // The display text of a field of the current record. May throw when the
    // text cannot be produced.
    virtual QString displayText(int field) const = 0;
};

// The rows of the catalogue table, walked with the table's own cursor, which
// is left on the last row. The walk keeps its own place: when something else
// moves the cursor meanwhile (the main window's grid follows and moves it
// while the preview lets events run), the walk goes on from where it was, and
// it reads the stored rows, not a change pending on one of them.
class CatalogueRecordSource : public RecordSource
{
public:
    explicit CatalogueRecordSource(CatalogueTable& table)
        : m_table(table)
    { }

    int recordCount() const override;
    void first() override;
    void next() override;
    bool atEnd() const override;
    int fieldIndex(QStringView name) const override;
    QString displayText(int field) const override;

private:
    CatalogueTable& m_table;
    int m_position = -1;
    bool m_atEnd = true;
};
