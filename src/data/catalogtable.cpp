#include "catalogtable.h"

#include "codepage.h"
#include "error.h"
#include "valuetext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const int titleSlot = fieldDef(Field::Titolo).textSlot;
const int numScadSlot = fieldDef(Field::NumScad).textSlot;

bool bytesLess(QByteArrayView a, QByteArrayView b)
{
    const int c = std::memcmp(a.data(), b.data(), std::size_t(std::min(a.size(), b.size())));
    return c < 0 || (c == 0 && a.size() < b.size());
}

} // namespace

CatalogueTable::CatalogueTable(RegionalSettings settings, QObject* parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_collation(m_settings.collationLocale())
{ }

CatalogueTable::~CatalogueTable() = default;

// --- Notifications

template<typename Signal, typename... Args>
void CatalogueTable::notify(Signal signal, Args... args)
{
    if (m_suspended == 0)
        emit(this->*signal)(args...);
}

void CatalogueTable::noteChange()
{
    if (m_suspended > 0)
        m_changedWhileSuspended = true;
}

void CatalogueTable::disableNotifications()
{
    ++m_suspended;
}

void CatalogueTable::enableNotifications()
{
    if (m_suspended == 0 || --m_suspended > 0)
        return;
    const bool changed = std::exchange(m_changedWhileSuspended, false);
    const bool stateMoved = std::exchange(m_stateChangedWhileSuspended, false);
    const bool currentMoved = std::exchange(m_currentChangedWhileSuspended, false);
    if (changed)
        emit rowsReset();
    if (stateMoved)
        emit stateChanged(m_state);
    if (currentMoved || changed)
        emit currentChanged();
}

void CatalogueTable::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (m_suspended > 0)
        m_stateChangedWhileSuspended = true;
    else
        emit stateChanged(state);
}

void CatalogueTable::setCurrent(int position)
{
    m_current = position;
    if (m_suspended > 0)
        m_currentChangedWhileSuspended = true;
    else
        emit currentChanged();
}

// --- Checks

void CatalogueTable::requireOpen() const
{
    if (!isOpen())
        throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void CatalogueTable::requireEditing() const
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw Error(QStringLiteral("Dataset not in edit or insert mode"));
}

void CatalogueTable::requireRows() const
{
    if (m_order.empty() || m_current < 0)
        throw Error(QStringLiteral("Cannot perform this operation on an empty dataset"));
}

// A pending row is stored when it was changed and abandoned when not, before
// the cursor moves on.
void CatalogueTable::checkBrowseMode()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (m_modified)
        post();
    else
        cancel();
}

// --- Lifetime

void CatalogueTable::open()
{
    if (isOpen())
        return;
    dropRows();
    m_recIdBase = 0;
    m_highestRecId = 0;
    setState(State::Browse);
    noteChange();
    notify(&CatalogueTable::rowsReset);
    setCurrent(-1);
}

void CatalogueTable::close()
{
    if (!isOpen())
        return;
    m_pending.clear();
    m_modified = false;
    dropRows();
    setState(State::Inactive);
    noteChange();
    notify(&CatalogueTable::rowsReset);
    setCurrent(-1);
}

void CatalogueTable::dropRows()
{
    m_recIdBase = m_highestRecId;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_order.clear();
    m_order.shrink_to_fit();
    m_texts.clear();
    m_keyIndex.clear();
    m_keyIndexValid = false;
    m_current = -1;
    m_atEnd = true;
}

// --- Rows and the cursor

const StoredRow& CatalogueTable::stored(RowId row) const
{
    return m_rows[row - 1 - m_recIdBase];
}

StoredRow& CatalogueTable::stored(RowId row)
{
    return m_rows[row - 1 - m_recIdBase];
}

bool CatalogueTable::contains(RowId row) const
{
    return row > m_recIdBase && row - 1 - m_recIdBase < m_rows.size() && stored(row).alive;
}

QByteArrayView CatalogueTable::storedText(RowId row, int slot) const
{
    return stored(row).textAt(m_texts, slot);
}

RowId CatalogueTable::currentRow() const
{
    return m_current >= 0 && m_current < recordCount() ? m_order[std::size_t(m_current)] : NoRow;
}

int CatalogueTable::positionOf(RowId row) const
{
    if (!contains(row))
        return -1;
    const QByteArrayView title = storedText(row, titleSlot);
    auto it = std::lower_bound(
        m_order.begin(), m_order.end(), title, [this](RowId other, QByteArrayView t) {
            return m_collation.compareBytes(storedText(other, titleSlot), t) < 0;
        });
    for (; it != m_order.end(); ++it) {
        if (*it == row)
            return int(it - m_order.begin());
        if (m_collation.compareBytes(storedText(*it, titleSlot), title) != 0)
            break;
    }
    // The order is kept by title; this is reached only if it was not.
    Q_ASSERT_X(false, "CatalogueTable::positionOf", "row out of title order");
    const auto found = std::find(m_order.begin(), m_order.end(), row);
    return found == m_order.end() ? -1 : int(found - m_order.begin());
}

void CatalogueTable::first()
{
    requireOpen();
    checkBrowseMode();
    m_atEnd = m_order.empty();
    setCurrent(m_order.empty() ? -1 : 0);
}

void CatalogueTable::next()
{
    requireOpen();
    checkBrowseMode();
    if (m_current + 1 < recordCount())
        setCurrent(m_current + 1);
    else
        m_atEnd = true;
}

void CatalogueTable::last()
{
    requireOpen();
    checkBrowseMode();
    m_atEnd = false;
    setCurrent(recordCount() - 1);
}

void CatalogueTable::moveTo(int position)
{
    requireOpen();
    if (position < 0 || position >= recordCount() || position == m_current)
        return;
    checkBrowseMode();
    m_atEnd = false;
    setCurrent(position);
}

void CatalogueTable::moveToRow(RowId row)
{
    const int position = positionOf(row);
    if (position >= 0)
        moveTo(position);
}

void CatalogueTable::returnTo(const Bookmark& bookmark)
{
    if (bookmark.row != NoRow && isOpen())
        moveToRow(bookmark.row);
}

// --- Changing rows

void CatalogueTable::append()
{
    requireOpen();
    checkBrowseMode();
    m_pending.clear();
    for (const FieldDef& def : allFields())
        m_pending.scalars.setNull(def.field, true);
    m_editedRow = NoRow;
    setState(State::Insert);
    if (m_afterInsert)
        m_afterInsert();
    m_modified = false;
}

void CatalogueTable::edit()
{
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    requireRows();
    m_editedRow = currentRow();
    m_pending.loadFrom(stored(m_editedRow), m_texts);
    m_modified = false;
    setState(State::Edit);
}

void CatalogueTable::post()
{
    requireOpen();
    if (m_state == State::Insert)
        postInsert();
    else if (m_state == State::Edit)
        postEdit();
    else
        return;
    m_modified = false;
    m_editedRow = NoRow;
    setState(State::Browse);
}

// Keeps the pending row as a new stored row, not yet in the order.
RowId CatalogueTable::storePendingRow()
{
    StoredRow row;
    m_pending.storeTexts(m_texts, row);
    row.scalars = m_pending.scalars;
    row.alive = true;
    m_rows.push_back(row);
    m_keyIndexValid = false;
    return ++m_highestRecId;
}

void CatalogueTable::postForLoad()
{
    m_order.push_back(storePendingRow());
    m_modified = false;
    setState(State::Browse);
}

void CatalogueTable::postInsert()
{
    const RowId id = storePendingRow();
    const int position = insertionPosition(storedText(id, titleSlot));
    m_order.insert(m_order.begin() + position, id);
    noteChange();
    notify(&CatalogueTable::rowInserted, id);
    m_atEnd = false;
    setCurrent(position);
}

void CatalogueTable::postEdit()
{
    const RowId id = m_editedRow;
    StoredRow& row = stored(id);
    const bool titleChanged = storedText(id, titleSlot) != m_pending.textAt(titleSlot)
        || row.scalars.isNull(Field::Titolo) != m_pending.scalars.isNull(Field::Titolo);
    notify(&CatalogueTable::rowAboutToChange, id);
    m_pending.storeTexts(m_texts, row);
    row.scalars = m_pending.scalars;
    m_keyIndexValid = false;

    const int position = titleChanged ? placeAfterTitleChange(m_current) : m_current;
    noteChange();
    notify(&CatalogueTable::rowChanged, id);
    setCurrent(position);
}

// The first position whose title sorts after the given one.
int CatalogueTable::insertionPosition(QByteArrayView title) const
{
    const auto it = std::upper_bound(
        m_order.begin(), m_order.end(), title, [this](QByteArrayView t, RowId other) {
            return m_collation.compareBytes(t, storedText(other, titleSlot)) < 0;
        });
    return int(it - m_order.begin());
}

// A row whose title changed stays where it is when its neighbours still frame
// it; otherwise it moves to its place. Returns its position.
int CatalogueTable::placeAfterTitleChange(int position)
{
    std::vector<RowId>& order = m_order;
    const RowId id = order[std::size_t(position)];
    const QByteArrayView title = storedText(id, titleSlot);
    const bool afterPrevious = position == 0
        || m_collation.compareBytes(storedText(order[std::size_t(position - 1)], titleSlot), title)
            <= 0;
    const bool beforeNext = position + 1 == recordCount()
        || m_collation.compareBytes(title, storedText(order[std::size_t(position + 1)], titleSlot))
            <= 0;
    if (afterPrevious && beforeNext)
        return position;
    order.erase(order.begin() + position);
    const int target = insertionPosition(title);
    order.insert(order.begin() + target, id);
    return target;
}

void CatalogueTable::cancel()
{
    requireOpen();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_pending.clear();
    m_modified = false;
    m_editedRow = NoRow;
    setState(State::Browse);
}

void CatalogueTable::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireRows();
    const int position = m_current;
    const RowId id = m_order[std::size_t(position)];
    notify(&CatalogueTable::rowAboutToBeRemoved, id);
    m_order.erase(m_order.begin() + position);
    stored(id).alive = false;
    m_keyIndexValid = false;
    noteChange();
    notify(&CatalogueTable::rowRemoved, id);
    setCurrent(std::min(position, recordCount() - 1));
    m_atEnd = m_order.empty();
}

void CatalogueTable::refresh()
{
    requireOpen();
    checkBrowseMode();
    notify(&CatalogueTable::refreshed);
}

// --- The order of the rows

// Puts every row in ascending order of title; equal titles keep their present
// order. A table already in order (a data file this program wrote) costs one
// comparison per row.
void CatalogueTable::sortRows()
{
    const std::size_t n = m_order.size();
    bool ordered = true;
    for (std::size_t i = 1; i < n && ordered; ++i) {
        const int c = m_collation.compareBytes(
            storedText(m_order[i - 1], titleSlot), storedText(m_order[i], titleSlot));
        ordered = c < 0 || (c == 0 && m_order[i - 1] < m_order[i]);
    }
    if (ordered)
        return;
    std::vector<uint32_t> permutation;
    {
        const SortKeys keys(
            m_collation, n, [this](std::size_t i) { return storedText(m_order[i], titleSlot); });
        permutation = sortedOrder(keys);
    }
    std::vector<RowId> sorted(n);
    for (std::size_t k = 0; k < n; ++k)
        sorted[k] = m_order[permutation[k]];
    m_order = std::move(sorted);
}

// --- Fields

Field CatalogueTable::fieldByName(QStringView name)
{
    if (const std::optional<Field> field = findField(name))
        return *field;
    throw Error(QStringLiteral("Field '%1' not found").arg(name));
}

FieldValue CatalogueTable::storedValue(const StoredRow& row, Field field, RowId id) const
{
    const FieldDef& def = fieldDef(field);
    if (field == Field::RecId)
        return qint32(id);
    if (row.scalars.isNull(field))
        return std::monostate();
    switch (def.kind) {
    case FieldKind::Text:
        return CodePage::windows1252().decode(row.textAt(m_texts, def.textSlot));
    case FieldKind::Date:
        return QDate::fromJulianDay(row.scalars.date);
    case FieldKind::Integer:
        return qint32(row.scalars.npagine);
    case FieldKind::Float:
        return field == Field::Prezzo ? row.scalars.prezzo : row.scalars.costo;
    case FieldKind::RecordNumber:
        break;
    }
    return std::monostate();
}

QString CatalogueTable::textOf(const FieldValue& value, Field field) const
{
    Q_UNUSED(field);
    if (const QString* text = std::get_if<QString>(&value))
        return *text;
    if (const QDate* date = std::get_if<QDate>(&value))
        return m_settings.formatDate(*date);
    if (const qint32* number = std::get_if<qint32>(&value))
        return QString::number(*number);
    if (const double* amount = std::get_if<double>(&value))
        return ValueText::formatAmount(*amount, m_settings.decimalSeparator());
    return QString();
}

bool CatalogueTable::isNull(Field field) const
{
    return isNullValue(value(field));
}

FieldValue CatalogueTable::value(Field field) const
{
    if (m_state == State::Edit || m_state == State::Insert) {
        const FieldDef& def = fieldDef(field);
        if (field == Field::RecId)
            return m_state == State::Edit ? FieldValue(qint32(m_editedRow)) : std::monostate();
        const RowScalars& scalars = m_pending.scalars;
        if (scalars.isNull(field))
            return std::monostate();
        switch (def.kind) {
        case FieldKind::Text:
            return CodePage::windows1252().decode(m_pending.textAt(def.textSlot));
        case FieldKind::Date:
            return QDate::fromJulianDay(scalars.date);
        case FieldKind::Integer:
            return qint32(scalars.npagine);
        case FieldKind::Float:
            return field == Field::Prezzo ? scalars.prezzo : scalars.costo;
        case FieldKind::RecordNumber:
            break;
        }
        return std::monostate();
    }
    const RowId row = currentRow();
    return row == NoRow ? FieldValue() : value(row, field);
}

QString CatalogueTable::displayText(Field field) const
{
    return textOf(value(field), field);
}

// The fields of the catalogue are edited in the form in which they are shown.
QString CatalogueTable::editText(Field field) const
{
    return displayText(field);
}

BookRecord CatalogueTable::record() const
{
    BookRecord book;
    for (const FieldDef& def : allFields())
        book.setValue(def.field, value(def.field));
    return book;
}

void CatalogueTable::storeText(Field field, QByteArrayView bytes)
{
    const FieldDef& def = fieldDef(field);
    m_pending.setText(def.textSlot, bytes.first(std::min<qsizetype>(bytes.size(), def.size)));
    m_pending.scalars.setNull(field, false);
}

// Only the characters the field holds are converted; the rest is cut off.
void CatalogueTable::storeText(Field field, QStringView text)
{
    char bytes[512];
    const qsizetype size = std::min<qsizetype>(text.size(), fieldDef(field).size);
    static_assert(sizeof bytes >= 500, "room for the longest text field");
    CodePage::windows1252().encodeInto(text.first(size), bytes);
    storeText(field, QByteArrayView(bytes, size));
}

void CatalogueTable::setText(Field field, const QString& text)
{
    requireEditing();
    const FieldDef& def = fieldDef(field);
    if (def.kind == FieldKind::Text) {
        storeText(field, QStringView(text));
        m_modified = true;
        notify(&CatalogueTable::pendingValueChanged, field);
        return;
    }
    if (text.isEmpty() || def.kind == FieldKind::RecordNumber) {
        setValue(field, std::monostate());
        return;
    }
    switch (def.kind) {
    case FieldKind::Integer:
        if (const std::optional<qint32> number = ValueText::parseInteger(text)) {
            setValue(field, *number);
            return;
        }
        throw Error(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                        .arg(text, def.nameString()));
    case FieldKind::Float:
        if (const std::optional<double> amount
            = ValueText::parseAmount(text, m_settings.decimalSeparator())) {
            setValue(field, *amount);
            return;
        }
        throw Error(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                        .arg(text, def.nameString()));
    case FieldKind::Date:
        if (const std::optional<QDate> date = m_settings.parseDate(text)) {
            setValue(field, *date);
            return;
        }
        throw Error(QStringLiteral("'%1' is not a valid date").arg(text));
    case FieldKind::Text:
    case FieldKind::RecordNumber:
        break;
    }
}

void CatalogueTable::setValue(Field field, const FieldValue& value)
{
    requireEditing();
    const FieldDef& def = fieldDef(field);
    RowScalars& scalars = m_pending.scalars;
    const bool null = isNullValue(value);
    if (def.kind == FieldKind::RecordNumber)
        throw Error(QStringLiteral("Field '%1' cannot be modified").arg(def.nameString()));
    if (null) {
        scalars.setNull(field, true);
        if (def.kind == FieldKind::Text)
            m_pending.setText(def.textSlot, {});
    } else if (def.kind == FieldKind::Text && std::holds_alternative<QString>(value)) {
        storeText(field, QStringView(std::get<QString>(value)));
    } else if (def.kind == FieldKind::Date && std::holds_alternative<QDate>(value)) {
        const QDate date = std::get<QDate>(value);
        scalars.date = int32_t(date.toJulianDay());
        scalars.setNull(field, !date.isValid());
    } else if (def.kind == FieldKind::Integer && std::holds_alternative<qint32>(value)) {
        scalars.npagine = std::get<qint32>(value);
        scalars.setNull(field, false);
    } else if (def.kind == FieldKind::Float && std::holds_alternative<double>(value)) {
        const double amount = std::get<double>(value);
        if (!std::isfinite(amount))
            throw Error(QStringLiteral("Invalid floating point value for field '%1'")
                            .arg(def.nameString()));
        (field == Field::Prezzo ? scalars.prezzo : scalars.costo) = amount;
        scalars.setNull(field, false);
    } else {
        throw Error(QStringLiteral("Type mismatch for field '%1'").arg(def.nameString()));
    }
    m_modified = true;
    notify(&CatalogueTable::pendingValueChanged, field);
}

bool CatalogueTable::isNull(RowId row, Field field) const
{
    return field != Field::RecId && stored(row).scalars.isNull(field);
}

FieldValue CatalogueTable::value(RowId row, Field field) const
{
    return storedValue(stored(row), field, row);
}

QString CatalogueTable::displayText(RowId row, Field field) const
{
    return textOf(value(row, field), field);
}

QByteArrayView CatalogueTable::textBytes(RowId row, Field field) const
{
    const int slot = fieldDef(field).textSlot;
    return slot < 0 ? QByteArrayView() : storedText(row, slot);
}

std::optional<double> CatalogueTable::number(RowId row, Field field) const
{
    if (field == Field::RecId)
        return double(row);
    const RowScalars& scalars = stored(row).scalars;
    if (scalars.isNull(field))
        return std::nullopt;
    switch (fieldDef(field).kind) {
    case FieldKind::Date:
        return double(scalars.date);
    case FieldKind::Integer:
        return double(scalars.npagine);
    case FieldKind::Float:
        return field == Field::Prezzo ? scalars.prezzo : scalars.costo;
    case FieldKind::Text:
    case FieldKind::RecordNumber:
        break;
    }
    return std::nullopt;
}

BookRecord CatalogueTable::record(RowId row) const
{
    BookRecord book;
    for (const FieldDef& def : allFields())
        book.setValue(def.field, value(row, def.field));
    return book;
}

RowId CatalogueTable::findNumScad(QStringView key) const
{
    if (!m_keyIndexValid) {
        m_keyIndex = m_order;
        std::stable_sort(m_keyIndex.begin(), m_keyIndex.end(), [this](RowId a, RowId b) {
            return bytesLess(storedText(a, numScadSlot), storedText(b, numScadSlot));
        });
        m_keyIndexValid = true;
    }
    const QByteArray bytes = CodePage::windows1252().encode(key);
    const auto it = std::lower_bound(
        m_keyIndex.begin(), m_keyIndex.end(), bytes, [this](RowId row, const QByteArray& k) {
            return bytesLess(storedText(row, numScadSlot), k);
        });
    if (it != m_keyIndex.end() && storedText(*it, numScadSlot) == QByteArrayView(bytes))
        return *it;
    return NoRow;
}

std::size_t CatalogueTable::memoryBytes() const
{
    return m_rows.capacity() * sizeof(StoredRow) + m_order.capacity() * sizeof(RowId)
        + m_keyIndex.capacity() * sizeof(RowId) + m_texts.memoryBytes();
}
