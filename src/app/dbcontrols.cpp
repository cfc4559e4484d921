#include "dbcontrols.h"

#include "catalogtable.h"
#include "componenttexts.h"
#include "datasource.h"
#include "error.h"

#include <QApplication>
#include <qdrawutil.h>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// Turns every letter of the input to one case, typed or pasted.
class LetterCaseValidator : public QValidator
{
public:
    LetterCaseValidator(LetterCase letterCase, QObject* parent)
        : QValidator(parent)
        , m_case(letterCase)
    { }

    State validate(QString& input, int&) const override
    {
        input = FieldInput::toCase(std::move(input), m_case);
        return Acceptable;
    }

private:
    LetterCase m_case;
};

bool hasDigit(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

bool leavesTheWindow(const QFocusEvent* event)
{
    return event->reason() == Qt::ActiveWindowFocusReason
        || event->reason() == Qt::PopupFocusReason;
}

} // namespace

// --- DataControl

// Only moving to another control of the window stores the input: the window
// losing the focus to a message box or a drop-down does not.
void DataControl::storeOnExit(QWidget* control, QFocusEvent* event, void (*select)(QWidget*))
{
    FieldDataLink* link = dataLink();
    if (leavesTheWindow(event) || !link->isModified() || !link->editing())
        return;
    try {
        updateRecord();
    } catch (const Error& error) {
        // The focus is moving on; once it has, it is brought back and the
        // message shown, unless the input was dropped meanwhile.
        QMetaObject::invokeMethod(
            control,
            [control, link, select, message = error.message()] {
                if (!control->isVisible() || !link->isModified() || !link->editing())
                    return;
                control->setFocus(Qt::OtherFocusReason);
                select(control);
                throw Error(message);
            },
            Qt::QueuedConnection);
    }
}

// --- DBEdit

DBEdit::DBEdit(Field field, QWidget* parent)
    : QLineEdit(parent)
    , m_link(new FieldDataLink(field, this))
{
    if (m_link->fieldDef().kind == FieldKind::Text)
        setMaxLength(m_link->fieldDef().size);
    connect(m_link, &FieldDataLink::recordChanged, this, &DBEdit::showField);
    connect(this, &QLineEdit::textEdited, this, [this] { m_link->setModified(true); });
}

void DBEdit::setDataSource(DataSource* source)
{
    m_link->setDataSource(source);
}

void DBEdit::setLetterCase(LetterCase letterCase)
{
    m_case = letterCase;
    delete validator();
    setValidator(
        letterCase == LetterCase::AsTyped ? nullptr : new LetterCaseValidator(letterCase, this));
}

void DBEdit::showField()
{
    setText(m_link->text());
}

void DBEdit::updateRecord()
{
    if (m_link->isModified())
        m_link->setText(text());
}

QChar DBEdit::decimalSeparator() const
{
    const CatalogueTable* table = m_link->table();
    return table ? table->regionalSettings().decimalSeparator() : QChar(u',');
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        m_link->reset();
        selectAll();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool character = typed.size() == 1 && typed[0].unicode() >= 0x20
        && typed[0].unicode() != 0x7F
        && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (character
        && !FieldInput::acceptsCharacter(m_link->fieldDef().kind, typed[0], decimalSeparator())) {
        QApplication::beep();
        emit keyRefused(typed[0]);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    storeOnExit(this, event, [](QWidget* w) { static_cast<DBEdit*>(w)->selectAll(); });
}

// --- TodayCalendar

TodayCalendar::TodayCalendar(QWidget* parent)
    : QCalendarWidget(parent)
    , m_today(new QPushButton(componentText(u"Today"), this))
{
    m_today->setObjectName(QStringLiteral("TodayButton"));
    m_today->setAutoDefault(false);
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->addWidget(m_today, 0, Qt::AlignHCenter);
    connect(m_today, &QPushButton::clicked, this, &TodayCalendar::pickToday);
}

QSize TodayCalendar::sizeHint() const
{
    return QCalendarWidget::sizeHint()
        + QSize(0, m_today->sizeHint().height() + std::max(0, layout()->spacing()));
}

QSize TodayCalendar::minimumSizeHint() const
{
    return QCalendarWidget::minimumSizeHint()
        + QSize(0, m_today->sizeHint().height() + std::max(0, layout()->spacing()));
}

void TodayCalendar::pickToday()
{
    const QDate today = QDate::currentDate();
    setSelectedDate(today);
    // As if the day had been clicked: the drop-down takes it and closes.
    emit clicked(today);
}

// Without a date the calendar opens on the present month.
void TodayCalendar::showEvent(QShowEvent* event)
{
    QCalendarWidget::showEvent(event);
    if (selectedDate() <= DBDateEdit::noDate()) {
        const QDate today = QDate::currentDate();
        setCurrentPage(today.year(), today.month());
    }
}

// --- DBDateEdit

DBDateEdit::DBDateEdit(Field field, QWidget* parent)
    : QDateEdit(parent)
    , m_link(new FieldDataLink(field, this))
    , m_calendar(new TodayCalendar(this))
{
    setCalendarPopup(true);
    setCalendarWidget(m_calendar);
    setMinimumDate(noDate());
    // The lowest value shows this text: a blank.
    setSpecialValueText(QStringLiteral(" "));
    connect(m_link, &FieldDataLink::recordChanged, this, &DBDateEdit::showField);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (!m_showing)
            m_link->setModified(true);
    });
}

void DBDateEdit::setDataSource(DataSource* source)
{
    if (source && source->dataSet())
        setDisplayFormat(
            FieldInput::dateDisplayFormat(source->dataSet()->regionalSettings().shortDateFormat()));
    m_link->setDataSource(source);
}

void DBDateEdit::showField()
{
    const FieldValue value = m_link->value();
    const QDate* shown = std::get_if<QDate>(&value);
    m_showing = true;
    setDate(shown && shown->isValid() ? *shown : noDate());
    m_showing = false;
}

void DBDateEdit::updateRecord()
{
    if (!m_link->isModified())
        return;
    if (hasDate())
        m_link->setValue(date());
    else
        m_link->setValue(std::monostate());
}

// A text without digits is no date at all.
QValidator::State DBDateEdit::validate(QString& input, int& pos) const
{
    if (!hasDigit(input))
        return QValidator::Acceptable;
    return QDateEdit::validate(input, pos);
}

QDateTime DBDateEdit::dateTimeFromText(const QString& text) const
{
    if (!hasDigit(text))
        return QDateTime(noDate(), QTime(0, 0));
    return QDateEdit::dateTimeFromText(text);
}

// Typing into the blank editor starts from today's date, its first part
// selected, so that the typed digits replace it part by part.
void DBDateEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const bool starts = (typed.size() == 1 && typed[0].isDigit()) || event->key() == Qt::Key_Up
        || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp
        || event->key() == Qt::Key_PageDown;
    if (!hasDate() && starts) {
        setDate(QDate::currentDate());
        setSelectedSection(sectionAt(0));
        if (!typed.isEmpty() && typed[0].isDigit())
            lineEdit()->setSelection(0, int(sectionText(sectionAt(0)).size()));
    }
    QDateEdit::keyPressEvent(event);
}

void DBDateEdit::focusOutEvent(QFocusEvent* event)
{
    QDateEdit::focusOutEvent(event);
    storeOnExit(this, event, [](QWidget* w) { static_cast<DBDateEdit*>(w)->selectAll(); });
}

// Tab goes on to the next control, as from any other edit, not to the next
// part of the date.
bool DBDateEdit::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

// --- DBComboBox

DBComboBox::DBComboBox(Field field, QWidget* parent)
    : QComboBox(parent)
    , m_link(new FieldDataLink(field, this))
{
    setEditable(true);
    // The text stays as typed: no completion from the list, no new items.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    connect(m_link, &FieldDataLink::recordChanged, this, &DBComboBox::showField);
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!m_showing)
            m_link->setModified(true);
    });
}

void DBComboBox::setDataSource(DataSource* source)
{
    m_link->setDataSource(source);
}

void DBComboBox::showField()
{
    m_showing = true;
    setEditText(m_link->text());
    m_showing = false;
}

void DBComboBox::updateRecord()
{
    if (m_link->isModified())
        m_link->setText(currentText());
}

void DBComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    storeOnExit(
        this, event, [](QWidget* w) { static_cast<DBComboBox*>(w)->lineEdit()->selectAll(); });
}

// --- NotesMemo

NotesMemo::NotesMemo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

void NotesMemo::setNotes(const QString& note)
{
    setPlainText(NotesText::fromField(note));
}

QString NotesMemo::notes() const
{
    return NotesText::toField(document()->toRawText());
}

int NotesMemo::room() const
{
    return NotesText::maxLength - NotesText::fieldLength(document()->toRawText())
        + NotesText::fieldLength(textCursor().selectedText());
}

void NotesMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    const QString typed = event->text();
    const bool character = !typed.isEmpty() && typed[0].unicode() >= 0x20
        && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (character && NotesText::fieldLength(typed) > room()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// Pasted text keeps its line breaks, as much of it as fits.
void NotesMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    const QString text = NotesText::fromField(source->text());
    const int free = room();
    qsizetype taken = 0;
    int length = 0;
    for (; taken < text.size(); ++taken) {
        const int cost = text[taken] == u'\n' ? 2 : 1;
        if (length + cost > free)
            break;
        length += cost;
    }
    textCursor().insertText(text.first(taken));
    ensureCursorVisible();
}

// --- BevelPanel

BevelPanel::BevelPanel(
    Bevel outer, Bevel inner, int borderWidth, QPalette::ColorRole fill, QWidget* parent)
    : QWidget(parent)
    , m_outer(outer)
    , m_inner(inner)
    , m_border(borderWidth)
    , m_fill(fill)
{ }

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(m_fill));
    QRect r = rect();
    auto bevel = [&](Bevel kind) {
        if (kind == Bevel::None)
            return;
        qDrawShadePanel(&painter, r, palette(), kind == Bevel::Lowered, 1, nullptr);
        r.adjust(1, 1, -1, -1);
    };
    bevel(m_outer);
    r.adjust(m_border, m_border, -m_border, -m_border);
    bevel(m_inner);
}
