#pragma once

#include "bookrecord.h"
#include "collation.h"
#include "fields.h"
#include "regionalsettings.h"
#include "rowstorage.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

// A stored row is identified by its record number, RecId, which it keeps while
// it exists and which is never given to another row.
using RowId = quint32;
inline constexpr RowId NoRow = 0;

// A remembered row: valid while the row exists, whatever its position.
struct Bookmark
{
    RowId row = NoRow;
};

// The catalogue: one table of books held in memory, kept in ascending order of
// title (regional collation, case significant, empty titles first), with a
// current row, a pending row while a book is appended or edited, and the data
// file as its one persistent form.
//
// Views follow it through its signals. Bulk work (loading, saving) suspends
// them; resuming sends one reset when anything changed meanwhile.
class CatalogueTable : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit CatalogueTable(RegionalSettings settings, QObject* parent = nullptr);
    ~CatalogueTable() override;

    const RegionalSettings& regionalSettings() const { return m_settings; }
    const Collation& collation() const { return m_collation; }

    // The handler run after every append, which gives the new row its
    // defaults. Values it sets do not count as changes by the user.
    void setAfterInsert(std::function<void()> handler) { m_afterInsert = std::move(handler); }

    // --- Lifetime and state
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isModified() const { return m_modified; }

    // --- Rows and the cursor
    int recordCount() const { return int(m_order.size()); }
    // Position of the current row in the table's order, -1 when there is none.
    int currentPosition() const { return m_current; }
    RowId currentRow() const;
    RowId rowAt(int position) const { return m_order[std::size_t(position)]; }
    // Position of a stored row, -1 when it no longer exists.
    int positionOf(RowId row) const;
    bool contains(RowId row) const;
    // Every stored row has an id below this limit; walking the ids upwards
    // (skipping those not contained) reads the rows in the order they are
    // held in memory, the quickest way through all of them.
    RowId rowIdLimit() const { return m_highestRecId + 1; }

    void first();
    void next();
    void last();
    // True once next() has been asked to go past the last row, or on first() in
    // an empty table.
    bool atEnd() const { return m_atEnd; }
    void moveTo(int position);
    void moveToRow(RowId row);

    Bookmark remember() const { return {currentRow()}; }
    void returnTo(const Bookmark& bookmark);
    void forget(Bookmark& bookmark) { bookmark = {}; }

    // --- Changing rows
    void append();
    void edit();
    void post();
    void cancel();
    // Removes the current row; the row that followed it becomes current, or the
    // new last row when it was the last.
    void remove();
    // Asks the views to show the rows anew; nothing changes.
    void refresh();

    // --- Fields of the current row, or of the pending row while editing
    static Field fieldByName(QStringView name);
    bool isNull(Field field) const;
    FieldValue value(Field field) const;
    QString displayText(Field field) const;
    QString editText(Field field) const;
    BookRecord record() const;
    // Sets a field from its text form; an empty text clears a number or date.
    // Throws the field's conversion error for a text it cannot take.
    void setText(Field field, const QString& text);
    void setValue(Field field, const FieldValue& value);
    void clear(Field field) { setValue(field, std::monostate()); }

    // --- Fields of any stored row
    bool isNull(RowId row, Field field) const;
    FieldValue value(RowId row, Field field) const;
    QString displayText(RowId row, Field field) const;
    // The bytes of a text field in the code page (empty for other fields).
    QByteArrayView textBytes(RowId row, Field field) const;
    // A date (as its Julian day), whole number or amount of a row; nothing
    // when the field is empty. Quicker than value() for sorting and filtering.
    std::optional<double> number(RowId row, Field field) const;
    BookRecord record(RowId row) const;

    // The first row whose NumScad is key, or NoRow.
    RowId findNumScad(QStringView key) const;

    // --- The data file
    void LoadDataFile(const QString& path);
    void SaveDataFile(const QString& path);
    // The load without the file: the bytes of a data file.
    void loadFromBytes(QByteArray bytes);
    QByteArray saveToBytes();

    // --- Notifications to the views
    void disableNotifications();
    void enableNotifications();
    bool notificationsEnabled() const { return m_suspended == 0; }

    // The size of what the table holds in memory, for measurements.
    std::size_t memoryBytes() const;

signals:
    void rowInserted(RowId row);
    void rowAboutToChange(RowId row);
    void rowChanged(RowId row);
    void rowAboutToBeRemoved(RowId row);
    void rowRemoved(RowId row);
    // Anything may have changed: views read the table anew.
    void rowsReset();
    void refreshed();
    void currentChanged();
    void stateChanged(CatalogueTable::State state);
    // A field of the pending row changed.
    void pendingValueChanged(Field field);

private:
    friend class DataFileLoader;
    friend class DataFileWriter;

    const StoredRow& stored(RowId row) const;
    StoredRow& stored(RowId row);
    QByteArrayView storedText(RowId row, int slot) const;
    FieldValue storedValue(const StoredRow& row, Field field, RowId id) const;
    QString textOf(const FieldValue& value, Field field) const;

    void requireOpen() const;
    void requireEditing() const;
    void requireRows() const;
    void checkBrowseMode();
    void setState(State state);
    void setCurrent(int position);
    void dropRows();

    // Storing the pending row.
    RowId storePendingRow();
    // Stores the pending new row at the end; a load puts the rows in order
    // once, after the last.
    void postForLoad();
    void postInsert();
    void postEdit();
    int insertionPosition(QByteArrayView title) const;
    int placeAfterTitleChange(int position);
    void sortRows();
    void storeText(Field field, QByteArrayView bytes);
    void storeText(Field field, QStringView text);

    template<typename Signal, typename... Args>
    void notify(Signal signal, Args... args);
    void noteChange();

    RegionalSettings m_settings;
    Collation m_collation;
    std::function<void()> m_afterInsert;

    State m_state = State::Inactive;
    bool m_modified = false;
    bool m_atEnd = false;
    int m_current = -1;

    std::vector<StoredRow> m_rows; // index: RecId - 1 - m_recIdBase
    RowId m_recIdBase = 0;
    RowId m_highestRecId = 0;
    std::vector<RowId> m_order;
    TextStore m_texts;
    PendingRow m_pending;
    RowId m_editedRow = NoRow;

    // The NumScad index, rebuilt on the first lookup after a change.
    mutable std::vector<RowId> m_keyIndex;
    mutable bool m_keyIndexValid = false;

    int m_suspended = 0;
    bool m_changedWhileSuspended = false;
    bool m_currentChangedWhileSuspended = false;
    bool m_stateChangedWhileSuspended = false;
};
