#include "ufmfscad.h"

#include "application.h"
#include "catalogtable.h"
#include "datasource.h"
#include "dbcontrols.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QColor labelText(0, 128, 0);
const QColor labelBackground(244, 243, 234);
const QColor editText(0, 0, 138);
const QColor editorText(0, 0, 128);

QFont designFont(const char* family, int points)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    return f;
}

void setColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette colors = widget->palette();
    colors.setColor(role, color);
    widget->setPalette(colors);
}

bool isPending(const CatalogueTable& table)
{
    return table.state() == CatalogueTable::State::Edit
        || table.state() == CatalogueTable::State::Insert;
}

} // namespace

TFMFSCAD::TFMFSCAD(CatalogueTable& scadData, QWidget* parent)
    : QDialog(parent)
    , m_table(scadData)
{
    setObjectName(QStringLiteral("FMFSCAD"));
    setWindowTitle(QStringLiteral("INSERIMENTO/MODIFICA LIBRO"));
    DataSource1 = new DataSource(&scadData, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    makeControls();
    resize(667, 420);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TFMFSCAD::~TFMFSCAD() = default;

void TFMFSCAD::makeControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Panel1 = new BevelPanel(
        BevelPanel::Bevel::Raised, BevelPanel::Bevel::Lowered, 2, QPalette::Midlight, this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    layout->addWidget(Panel1);

    const QFont terminal = designFont("HE_TERMINAL", 9);
    auto label = [&](const char* name, const char* caption, int left, int top) {
        auto* l = new QLabel(QString::fromLatin1(caption), Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(terminal);
        l->setAutoFillBackground(true);
        setColor(l, QPalette::WindowText, labelText);
        setColor(l, QPalette::Window, labelBackground);
        l->adjustSize();
        l->move(left, top);
        return l;
    };
    auto edit
        = [&](const char* name, Field field, LetterCase letterCase, int left, int top, int width) {
              auto* e = new DBEdit(field, Panel1);
              e->setObjectName(QString::fromLatin1(name));
              e->setFont(terminal);
              setColor(e, QPalette::Text, editText);
              e->setLetterCase(letterCase);
              e->setGeometry(left, top, width, 23);
              e->setDataSource(DataSource1);
              m_dataControls.push_back(e);
              return e;
          };
    auto editor = [&](QWidget* e, const char* name, int left, int top, int width, int height) {
        e->setObjectName(QString::fromLatin1(name));
        e->setFont(terminal);
        setColor(e, QPalette::Text, editorText);
        e->setGeometry(left, top, width, height);
    };
    const LetterCase upper = LetterCase::Upper;

    Label1 = label("Label1", "Codice", 8, 14);
    EBarcode = edit("EBarcode", Field::Barcode, upper, 128, 8, 289);
    Label2 = label("Label2", "Titolo", 8, 38);
    ETitolo = edit("ETitolo", Field::Titolo, upper, 128, 32, 521);
    Label3 = label("Label3", "Autore", 8, 63);
    EAutore = edit("EAutore", Field::Autore, upper, 128, 56, 521);
    Label4 = label("Label4", "Casa editrice", 8, 87);
    ECasaEdi = edit("ECasaEdi", Field::Casaedi, upper, 128, 80, 289);
    Label5 = label("Label5", "Argomento", 8, 128);
    EArgomento = edit("EArgomento", Field::Argomento, upper, 128, 120, 257);

    Label6 = label("Label6", "Data di pubblicazione", 392, 128);
    EDPubblica = new DBDateEdit(Field::AnnoPubblicazione, Panel1);
    editor(EDPubblica, "EDPubblica", 544, 120, 105, 23);
    EDPubblica->setDataSource(DataSource1);
    m_dataControls.push_back(EDPubblica);

    Label7 = label("Label7", "Collana", 8, 153);
    ECollana = edit("ECollana", Field::Collana, upper, 128, 146, 257);
    Label8 = label("Label8", "Numero pagine", 8, 184);
    ENPagine = edit("ENPagine", Field::NPagine, upper, 128, 176, 81);
    Label9 = label("Label9", "Lingua", 216, 184);
    ELingua = edit("ELingua", Field::Lingua, upper, 272, 176, 177);

    Label10 = label("Label10", "Formato", 456, 184);
    CBFormato = new DBComboBox(Field::Formato, Panel1);
    CBFormato->addItems({QStringLiteral("CARTACEO"), QStringLiteral("E-BOOK"), QStringLiteral("CD"),
        QStringLiteral("CASSETTA")});
    editor(CBFormato, "CBFormato", 512, 176, 137, 23);
    CBFormato->setDataSource(DataSource1);
    m_dataControls.push_back(CBFormato);

    Label11 = label("Label11", "Prezzo", 8, 217);
    EPrezzo = edit("EPrezzo", Field::Prezzo, upper, 128, 209, 121);
    Label12 = label("Label12", "Costo", 264, 216);
    ECosto = edit("ECosto", Field::Costo, LetterCase::Lower, 344, 210, 129);

    Label13 = label("Label13", "Descrizione", 8, 244);
    Label13->setWordWrap(true);
    MENote = new NotesMemo(Panel1);
    editor(MENote, "MENote", 8, 264, 641, 57);

    Panel2 = new BevelPanel(
        BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Lowered, 0, QPalette::Highlight, Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(-16, 328, 681, 9);

    auto button = [&](const char* name, const char* caption, int left) {
        auto* b = new QPushButton(QString::fromLatin1(caption), Panel1);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(designFont("Tahoma", 11));
        setColor(b, QPalette::ButtonText, Qt::black);
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setGeometry(left, 344, 121, 33);
        return b;
    };
    BBInserisci = button("BBInserisci", "Conferma", 400);
    BBEsci = button("BBEsci", "Esci", 528);
    connect(BBInserisci, &QPushButton::clicked, this, &TFMFSCAD::Button1Click);
    connect(BBEsci, &QPushButton::clicked, this, &TFMFSCAD::Button2Click);

    const QWidget* tabOrder[] = {EBarcode, ETitolo, EAutore, ECasaEdi, EArgomento, EDPubblica,
        ECollana, ENPagine, ELingua, CBFormato, EPrezzo, ECosto, MENote, BBInserisci, BBEsci};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(const_cast<QWidget*>(tabOrder[i - 1]), const_cast<QWidget*>(tabOrder[i]));

    for (QWidget* confirming : {EArgomento, ECollana, ENPagine, ELingua, EPrezzo, ECosto})
        confirming->installEventFilter(this);
}

// --- Opening and closing

void TFMFSCAD::OpenForInsert()
{
    openModally(emInsert);
}

void TFMFSCAD::OpenForModify()
{
    openModally(emModify);
}

void TFMFSCAD::openModally(TEditMode mode)
{
    EditMode = mode;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
    // The modal loop also ends when the program is asked to end; the dialog
    // is closed then too, and nothing stays pending.
    if (isVisible())
        done(QDialog::Rejected);
    FormClose();
}

void TFMFSCAD::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFMFSCAD::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFMFSCAD::FormShow()
{
    if (EditMode == emInsert) {
        m_table.refresh();
        m_table.append();
        startEntry();
        return;
    }
    try {
        m_table.edit();
        startEntry();
    } catch (const std::exception&) {
        Application::showMessage(QStringLiteral("Riga non disponibile !"));
    }
}

// The notes of the pending row into their box, the focus on the first edit
// and the check reset.
void TFMFSCAD::startEntry()
{
    MENote->setNotes(m_table.editText(Field::Note));
    EBarcode->setFocus();
    EBarcode->selectAll();
    ValidateEntry(false);
}

void TFMFSCAD::FormClose()
{
    if (isPending(m_table))
        m_table.cancel();
}

// --- Checking and storing

bool TFMFSCAD::ValidateEntry(bool check)
{
    ValidationMessage.clear();
    if (!check)
        return true;
    if (!FieldInput::trimmed(ETitolo->text()).isEmpty())
        return true;
    ValidationMessage = QStringLiteral("Titolo richiesto !");
    ValidationControl = ETitolo;
    return false;
}

void TFMFSCAD::Button1Click()
{
    if (!ValidateEntry(true)) {
        Application::showMessage(ValidationMessage);
        if (ValidationControl)
            ValidationControl->setFocus();
        return;
    }
    try {
        m_table.setText(Field::Note, MENote->notes());
        for (DataControl* control : m_dataControls)
            control->updateRecord();
        m_table.post();
    } catch (const std::exception&) {
        Application::showMessage(QStringLiteral("errore post"));
        return;
    }
    if (EditMode == emInsert) {
        m_table.append();
        startEntry();
    } else {
        accept();
    }
}

void TFMFSCAD::Button2Click()
{
    try {
        m_table.cancel();
    } catch (const std::exception&) {
        // Leaving goes on: closing abandons the row anyway.
    }
    reject();
}

void TFMFSCAD::DBComboBox3KeyDown(QObject*, int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Insert)
        Button1Click();
}

// --- Keys

// The edits that confirm with the Insert key still receive it afterwards.
bool TFMFSCAD::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        DBComboBox3KeyDown(watched, key->key(), key->modifiers());
    }
    return QDialog::eventFilter(watched, event);
}

// The dialog has no default and no cancel button: Enter works only on the
// button that has the focus, and Esc does not close it.
void TFMFSCAD::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && button->isEnabled()) {
            event->accept();
            button->click();
            return;
        }
        event->ignore();
        return;
    case Qt::Key_Escape:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
