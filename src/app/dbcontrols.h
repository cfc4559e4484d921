#pragma once

#include "fieldlink.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

class DataSource;
class QPushButton;

// A control that shows one field of the current row and passes what the
// user typed back into it. Leaving the control stores the input; a value
// the field cannot take keeps the user in the control and shows the field's
// message through the program's error box.
class DataControl
{
public:
    virtual ~DataControl() = default;

    virtual FieldDataLink* dataLink() const = 0;
    // Stores the input into the field when the user changed it; throws the
    // field's error for a value it cannot take, keeping the input.
    virtual void updateRecord() = 0;

protected:
    // What leaving the control does; select marks the whole input.
    void storeOnExit(QWidget* control, QFocusEvent* event, void (*select)(QWidget*));
};

// An edit of a text, number or amount field. It turns letters to its case as
// they are typed, takes no more characters than a text field holds, refuses
// with a beep the characters a number field cannot take, and puts back the
// field's value on Esc.
class DBEdit : public QLineEdit, public DataControl
{
    Q_OBJECT

public:
    explicit DBEdit(Field field, QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    FieldDataLink* dataLink() const override { return m_link; }
    void updateRecord() override;

    void setLetterCase(LetterCase letterCase);
    LetterCase letterCase() const { return m_case; }

signals:
    // A typed character was refused.
    void keyRefused(QChar c);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();
    QChar decimalSeparator() const;

    FieldDataLink* m_link;
    LetterCase m_case = LetterCase::AsTyped;
};

// The calendar of the date editor's drop-down, with one button that picks
// today's date.
class TodayCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit TodayCalendar(QWidget* parent = nullptr);

    QPushButton* todayButton() const { return m_today; }

    // Room for the button below the days.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pickToday();

    QPushButton* m_today;
};

// An editor of a date field, with a drop-down calendar. It shows the date in
// the regional short format; clearing its text leaves the field without a
// date, which it shows blank.
class DBDateEdit : public QDateEdit, public DataControl
{
    Q_OBJECT

public:
    explicit DBDateEdit(Field field, QWidget* parent = nullptr);

    // The value that stands for "no date".
    static QDate noDate() { return QDate(100, 1, 1); }

    void setDataSource(DataSource* source);
    FieldDataLink* dataLink() const override { return m_link; }
    void updateRecord() override;

    bool hasDate() const { return date() != noDate(); }
    QLineEdit* editor() const { return lineEdit(); }
    TodayCalendar* calendar() const { return m_calendar; }

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void showField();

    FieldDataLink* m_link;
    TodayCalendar* m_calendar;
    bool m_showing = false;
};

// An editable combo box of a text field: a list of choices, or any text.
class DBComboBox : public QComboBox, public DataControl
{
    Q_OBJECT

public:
    explicit DBComboBox(Field field, QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    FieldDataLink* dataLink() const override { return m_link; }
    void updateRecord() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showField();

    FieldDataLink* m_link;
    bool m_showing = false;
};

// A box for the notes of a book: several lines, at most the notes field's
// length of input, line breaks only by pasting; Enter is left to the window.
class NotesMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit NotesMemo(QWidget* parent = nullptr);

    // The notes as the field keeps them, line breaks as CR LF.
    void setNotes(const QString& note);
    QString notes() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many more characters of the field fit, counting the selection as
    // free.
    int room() const;
};

// A panel with an outer and an inner bevel and a border between them, filled
// with a colour of the palette.
class BevelPanel : public QWidget
{
public:
    enum class Bevel { None, Lowered, Raised };

    BevelPanel(Bevel outer, Bevel inner, int borderWidth, QPalette::ColorRole fill,
        QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel m_outer;
    Bevel m_inner;
    int m_border;
    QPalette::ColorRole m_fill;
};
