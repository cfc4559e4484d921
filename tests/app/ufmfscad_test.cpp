#include "application.h"
#include "bandedtableview.h"
#include "dbcontrols.h"
#include "ffmain.h"
#include "messageboxes.h"
#include "testenvironment.h"
#include "udm1.h"
#include "ufmfscad.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using State = CatalogueTable::State;

namespace {

using MessageBoxes::whenReady;

// Types into a control, replacing what it shows.
void type(QWidget* control, const QString& text)
{
    control->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    QTest::keyClicks(control, text);
}

// Leaves a control for the next one, as the Tab key does.
void leave(QWidget* control)
{
    QTest::keyClick(control, Qt::Key_Tab);
}

bool hasFocus(QWidget* control)
{
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
}

} // namespace

class EntryDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TDM1> dm;
    std::unique_ptr<TFFMAIN> window;
    std::unique_ptr<TFMFSCAD> dialog;

    CatalogueTable& table() { return dm->ScadData; }

    void addBooks(std::initializer_list<const char*> titles)
    {
        for (const char* title : titles) {
            table().append();
            table().setText(Field::Titolo, QString::fromLatin1(title));
            table().post();
        }
    }
    QStringList titles()
    {
        QStringList list;
        for (int i = 0; i < table().recordCount(); ++i)
            list << table().displayText(table().rowAt(i), Field::Titolo);
        return list;
    }
    QString currentTitle() { return table().displayText(Field::Titolo); }
    // The row the main window's grid has focused.
    RowId gridRow()
    {
        const BandedTableView& view = *window->cxGrid1DBTableView1;
        return view.focusedRow() < 0 ? NoRow : view.row(view.focusedRow()).row;
    }

    // Opens the dialog without waiting for it to close.
    void show(TFMFSCAD::TEditMode mode)
    {
        dialog->EditMode = mode;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Runs a main window command that opens the dialog modally, and the
    // steps of the user while it is open; the steps close it, or end its
    // modal loop.
    void runDialog(
        std::function<void()> command, std::function<void()> steps, bool stepsClose = true)
    {
        bool ran = false;
        bool leftOpen = false;
        whenReady(
            [this] {
                return QApplication::activeModalWidget() == dialog.get()
                    && dialog->isActiveWindow();
            },
            [&, this] {
                steps();
                ran = true;
                leftOpen = stepsClose && dialog->isVisible();
                if (leftOpen)
                    dialog->reject();
            });
        command();
        QVERIFY(ran);
        QVERIFY2(!leftOpen, "the steps left the dialog open");
        QVERIFY(!dialog->isVisible());
    }

private slots:
    void initTestCase() { TestEnvironment::pin(); }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        TDM1::Options options;
        options.executablePath = dir->filePath(u"Tomario"_qs);
        options.settings = RegionalSettings::italian();
        dm = std::make_unique<TDM1>(options);
        dm->ScadData.open();
        window = std::make_unique<TFFMAIN>(*dm);
        dialog = std::make_unique<TFMFSCAD>(dm->ScadData);
        window->setEntryForm(dialog.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup()
    {
        if (dialog->isVisible())
            dialog->Button2Click();
        dialog.reset();
        window.reset();
        dm.reset();
        dir.reset();
    }

    void controlsNamesPlacesAndLooks()
    {
        QCOMPARE(dialog->objectName(), u"FMFSCAD"_qs);
        QCOMPARE(dialog->windowTitle(), u"INSERIMENTO/MODIFICA LIBRO"_qs);
        QCOMPARE(dialog->size(), QSize(667, 420));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->DataSource1->dataSet(), &table());
        QVERIFY(dialog->maximumSize().width() > 667); // resizable

        const struct
        {
            QLabel* label;
            const char* caption;
            QPoint at;
        } labels[] = {
            {dialog->Label1, "Codice", {8, 14}},
            {dialog->Label2, "Titolo", {8, 38}},
            {dialog->Label3, "Autore", {8, 63}},
            {dialog->Label4, "Casa editrice", {8, 87}},
            {dialog->Label5, "Argomento", {8, 128}},
            {dialog->Label6, "Data di pubblicazione", {392, 128}},
            {dialog->Label7, "Collana", {8, 153}},
            {dialog->Label8, "Numero pagine", {8, 184}},
            {dialog->Label9, "Lingua", {216, 184}},
            {dialog->Label10, "Formato", {456, 184}},
            {dialog->Label11, "Prezzo", {8, 217}},
            {dialog->Label12, "Costo", {264, 216}},
            {dialog->Label13, "Descrizione", {8, 244}},
        };
        for (const auto& l : labels) {
            QCOMPARE(l.label->text(), QString::fromLatin1(l.caption));
            QCOMPARE(l.label->pos(), l.at);
            QCOMPARE(l.label->parentWidget(), dialog->Panel1);
            QCOMPARE(l.label->font().family(), u"HE_TERMINAL"_qs);
            QCOMPARE(l.label->font().pointSize(), 9);
            QCOMPARE(l.label->palette().color(QPalette::WindowText), QColor(0, 128, 0));
            QCOMPARE(l.label->palette().color(QPalette::Window), QColor(244, 243, 234));
            QVERIFY(l.label->autoFillBackground());
            QCOMPARE(l.label->wordWrap(), l.label == dialog->Label13);
        }

        const struct
        {
            QWidget* control;
            const char* name;
            QRect geometry;
            QColor text;
        } controls[] = {
            {dialog->EBarcode, "EBarcode", {128, 8, 289, 23}, {0, 0, 138}},
            {dialog->ETitolo, "ETitolo", {128, 32, 521, 23}, {0, 0, 138}},
            {dialog->EAutore, "EAutore", {128, 56, 521, 23}, {0, 0, 138}},
            {dialog->ECasaEdi, "ECasaEdi", {128, 80, 289, 23}, {0, 0, 138}},
            {dialog->EArgomento, "EArgomento", {128, 120, 257, 23}, {0, 0, 138}},
            {dialog->EDPubblica, "EDPubblica", {544, 120, 105, 23}, {0, 0, 128}},
            {dialog->ECollana, "ECollana", {128, 146, 257, 23}, {0, 0, 138}},
            {dialog->ENPagine, "ENPagine", {128, 176, 81, 23}, {0, 0, 138}},
            {dialog->ELingua, "ELingua", {272, 176, 177, 23}, {0, 0, 138}},
            {dialog->CBFormato, "CBFormato", {512, 176, 137, 23}, {0, 0, 128}},
            {dialog->EPrezzo, "EPrezzo", {128, 209, 121, 23}, {0, 0, 138}},
            {dialog->ECosto, "ECosto", {344, 210, 129, 23}, {0, 0, 138}},
            {dialog->MENote, "MENote", {8, 264, 641, 57}, {0, 0, 128}},
        };
        for (const auto& c : controls) {
            QCOMPARE(c.control->objectName(), QString::fromLatin1(c.name));
            QCOMPARE(c.control->geometry(), c.geometry);
            QCOMPARE(c.control->font().family(), u"HE_TERMINAL"_qs);
            QCOMPARE(c.control->font().pointSize(), 9);
            QCOMPARE(c.control->palette().color(QPalette::Text), c.text);
        }

        const struct
        {
            DBEdit* edit;
            Field field;
            LetterCase letterCase;
            int maxLength;
        } edits[] = {
            {dialog->EBarcode, Field::Barcode, LetterCase::Upper, 20},
            {dialog->ETitolo, Field::Titolo, LetterCase::Upper, 70},
            {dialog->EAutore, Field::Autore, LetterCase::Upper, 40},
            {dialog->ECasaEdi, Field::Casaedi, LetterCase::Upper, 40},
            {dialog->EArgomento, Field::Argomento, LetterCase::Upper, 40},
            {dialog->ECollana, Field::Collana, LetterCase::Upper, 40},
            {dialog->ENPagine, Field::NPagine, LetterCase::Upper, 32767},
            {dialog->ELingua, Field::Lingua, LetterCase::Upper, 20},
            {dialog->EPrezzo, Field::Prezzo, LetterCase::Upper, 32767},
            {dialog->ECosto, Field::Costo, LetterCase::Lower, 32767},
        };
        for (const auto& e : edits) {
            QCOMPARE(e.edit->dataLink()->field(), e.field);
            QCOMPARE(e.edit->dataLink()->dataSource(), dialog->DataSource1);
            QCOMPARE(e.edit->letterCase(), e.letterCase);
            QCOMPARE(e.edit->maxLength(), e.maxLength);
        }
        QCOMPARE(dialog->EDPubblica->dataLink()->field(), Field::AnnoPubblicazione);
        QCOMPARE(dialog->CBFormato->dataLink()->field(), Field::Formato);
        QVERIFY(dialog->CBFormato->isEditable());
        QStringList items;
        for (int i = 0; i < dialog->CBFormato->count(); ++i)
            items << dialog->CBFormato->itemText(i);
        QCOMPARE(items, (QStringList {u"CARTACEO"_qs, u"E-BOOK"_qs, u"CD"_qs, u"CASSETTA"_qs}));
        QVERIFY(dialog->EDPubblica->calendarPopup());
        QCOMPARE(dialog->EDPubblica->displayFormat(), u"dd/MM/yyyy"_qs);
        QCOMPARE(dialog->EDPubblica->calendar()->todayButton()->text(), u"Today"_qs);
        QCOMPARE(dialog->MENote->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        for (const auto& [button, name, caption, left] :
            {std::tuple {dialog->BBInserisci, "BBInserisci", "Conferma", 400},
                std::tuple {dialog->BBEsci, "BBEsci", "Esci", 528}}) {
            QCOMPARE(button->objectName(), QString::fromLatin1(name));
            QCOMPARE(button->text(), QString::fromLatin1(caption));
            QCOMPARE(button->geometry(), QRect(left, 344, 121, 33));
            QCOMPARE(button->font().family(), u"Tahoma"_qs);
            QCOMPARE(button->font().pointSize(), 11);
            QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(Qt::black));
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
        QCOMPARE(dialog->Panel2->geometry(), QRect(-16, 328, 681, 9));
        QCOMPARE(dialog->Panel2->parentWidget(), dialog->Panel1);

        // Shown, the panel fills the dialog and the tab order runs down the
        // table of controls.
        show(TFMFSCAD::emInsert);
        QCOMPARE(dialog->Panel1->geometry(), dialog->rect());
        QVERIFY(hasFocus(dialog->EBarcode));
        const std::initializer_list<QWidget*> order = {dialog->ETitolo, dialog->EAutore,
            dialog->ECasaEdi, dialog->EArgomento, dialog->EDPubblica, dialog->ECollana,
            dialog->ENPagine, dialog->ELingua, dialog->CBFormato, dialog->EPrezzo, dialog->ECosto,
            dialog->MENote, dialog->BBInserisci, dialog->BBEsci, dialog->EBarcode};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(hasFocus(next), qPrintable(next->objectName()));
        }
    }

    // Three books confirmed in one series, the fourth abandoned: the book
    // current before is current again.
    void insertSeriesReturnsToTheCurrentBook()
    {
        addBooks({"ALFA", "GAMMA", "OMEGA"});
        table().moveTo(1);
        const RowId gamma = table().currentRow();
        runDialog([this] { QTest::mouseClick(window->BBInserisci, Qt::LeftButton); },
            [this] {
                QCOMPARE(table().state(), State::Insert);
                QVERIFY(hasFocus(dialog->EBarcode));
                for (const char* title : {"BETA", "ZETA", "DELTA"}) {
                    type(dialog->ETitolo, QString::fromLatin1(title));
                    QTest::mouseClick(dialog->BBInserisci, Qt::LeftButton);
                    QCOMPARE(table().state(), State::Insert);
                    QCOMPARE(dialog->ETitolo->text(), QString());
                    QVERIFY(hasFocus(dialog->EBarcode));
                }
                type(dialog->ETitolo, u"QUARTO"_qs);
                QTest::mouseClick(dialog->BBEsci, Qt::LeftButton);
            });
        QCOMPARE(titles(),
            (QStringList {
                u"ALFA"_qs, u"BETA"_qs, u"DELTA"_qs, u"GAMMA"_qs, u"OMEGA"_qs, u"ZETA"_qs}));
        QCOMPARE(table().state(), State::Browse);
        QCOMPARE(table().currentRow(), gamma);
        QCOMPARE(gridRow(), gamma);
    }

    // With an empty catalogue before, the new book is left current.
    void insertIntoAnEmptyCatalogue()
    {
        runDialog([this] { window->BBInserisciClick(); },
            [this] {
                type(dialog->ETitolo, u"UNICO"_qs);
                dialog->BBInserisci->click();
                dialog->BBEsci->click();
            });
        QCOMPARE(titles(), QStringList {u"UNICO"_qs});
        QCOMPARE(currentTitle(), u"UNICO"_qs);
    }

    void blankTitleIsRequired()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"   "_qs);
        const auto seen = MessageBoxes::closeNext();
        dialog->BBInserisci->click();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, u"Titolo richiesto !"_qs);
        QCOMPARE(seen->icon, QMessageBox::NoIcon);
        QCOMPARE(seen->title, Application::title());
        QCOMPARE(seen->buttons, 1);
        QCOMPARE(dialog->focusWidget(), dialog->ETitolo);
        QCOMPARE(dialog->ValidationMessage, u"Titolo richiesto !"_qs);
        QCOMPARE(dialog->ValidationControl, dialog->ETitolo);
        QCOMPARE(table().state(), State::Insert);
        QCOMPARE(table().recordCount(), 0);
        QCOMPARE(table().displayText(Field::Titolo), QString());
        // A title confirms; the check is reset for the next book.
        type(dialog->ETitolo, u"  X "_qs);
        dialog->BBInserisci->click();
        QCOMPARE(table().recordCount(), 1);
        QCOMPARE(dialog->ValidationMessage, QString());
    }

    void insertKeyConfirms_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("confirms");
        // What the edit shows afterwards: it still receives the key, and
        // Shift+Insert pastes.
        QTest::addColumn<QString>("shown");
        const int none = Qt::NoModifier;
        QTest::newRow("argomento") << u"EArgomento"_qs << none << true << u""_qs;
        QTest::newRow("collana shift")
            << u"ECollana"_qs << int(Qt::ShiftModifier) << true << u"INCOLLATO"_qs;
        QTest::newRow("pagine ctrl")
            << u"ENPagine"_qs << int(Qt::ControlModifier) << true << u"0"_qs;
        QTest::newRow("lingua alt") << u"ELingua"_qs << int(Qt::AltModifier) << true << u""_qs;
        QTest::newRow("prezzo") << u"EPrezzo"_qs << none << true << u"0,00"_qs;
        QTest::newRow("costo ctrl shift")
            << u"ECosto"_qs << int(Qt::ControlModifier | Qt::ShiftModifier) << true << u"0,00"_qs;
        QTest::newRow("codice") << u"EBarcode"_qs << none << false << u""_qs;
        QTest::newRow("titolo") << u"ETitolo"_qs << none << false << u"LIBRO"_qs;
        QTest::newRow("autore") << u"EAutore"_qs << none << false << u""_qs;
        QTest::newRow("casa editrice") << u"ECasaEdi"_qs << none << false << u""_qs;
        QTest::newRow("data") << u"EDPubblica"_qs << none << false << QString();
        QTest::newRow("formato") << u"CBFormato"_qs << none << false << QString();
        QTest::newRow("note") << u"MENote"_qs << none << false << QString();
    }
    void insertKeyConfirms()
    {
        QFETCH(QString, edit);
        QFETCH(int, modifiers);
        QFETCH(bool, confirms);
        QFETCH(QString, shown);
        QApplication::clipboard()->setText(u"incollato"_qs);
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"LIBRO"_qs);
        leave(dialog->ETitolo);
        auto* control = dialog->findChild<QWidget*>(edit);
        QVERIFY(control);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Insert, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(table().recordCount(), confirms ? 1 : 0);
        QCOMPARE(table().state(), State::Insert);
        QCOMPARE(dialog->ETitolo->text(), confirms ? QString() : u"LIBRO"_qs);
        if (auto* lineEdit = qobject_cast<DBEdit*>(control))
            QCOMPARE(lineEdit->text(), shown);
    }

    // The amount typed with the regional separator is stored by the Insert
    // key without leaving the edit; the next book shows the default amount.
    void priceTypedAndConfirmedWithInsert()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"LIBRO"_qs);
        type(dialog->EPrezzo, u"12,5"_qs);
        QTest::keyClick(dialog->EPrezzo, Qt::Key_Insert);
        QCOMPARE(table().recordCount(), 1);
        QCOMPARE(table().value(table().rowAt(0), Field::Prezzo), FieldValue(12.5));
        QCOMPARE(dialog->EPrezzo->text(), u"0,00"_qs);
        QVERIFY(hasFocus(dialog->EBarcode));
    }

    void refusedKeysBeep_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("refused");
        QTest::newRow("letter in price") << u"EPrezzo"_qs << u"1a2"_qs << u"12"_qs << u"a"_qs;
        QTest::newRow("point in price") << u"EPrezzo"_qs << u"1.5"_qs << u"15"_qs << u"."_qs;
        QTest::newRow("exponent in price")
            << u"EPrezzo"_qs << u"-1,5e3+"_qs << u"-1,5E3+"_qs << QString();
        QTest::newRow("exponent in cost") << u"ECosto"_qs << u"2E-1"_qs << u"2e-1"_qs << QString();
        QTest::newRow("letters in cost") << u"ECosto"_qs << u"x1 d"_qs << u"1"_qs << u"x d"_qs;
        QTest::newRow("pages") << u"ENPagine"_qs << u"+12-x,3e"_qs << u"+12-3"_qs << u"x,e"_qs;
        QTest::newRow("title takes all")
            << u"ETitolo"_qs << u"a,.e-x"_qs << u"A,.E-X"_qs << QString();
    }
    void refusedKeysBeep()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, refused);
        show(TFMFSCAD::emInsert);
        auto* control = dialog->findChild<DBEdit*>(edit);
        QSignalSpy spy(control, &DBEdit::keyRefused);
        type(control, typed);
        QCOMPARE(control->text(), shown);
        QString refusedKeys;
        for (const QList<QVariant>& call : spy)
            refusedKeys += call.at(0).value<QChar>();
        QCOMPARE(refusedKeys, refused);
        QCOMPARE(table().recordCount(), 0);
    }

    // After "Conferma" every box, the notes included, shows the defaults of
    // the next book.
    void confirmStoresEveryBoxAndShowsTheNextDefaults()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->EBarcode, u"978-88"_qs);
        type(dialog->ETitolo, u"il nome della rosa"_qs);
        type(dialog->EAutore, u"eco"_qs);
        type(dialog->ECasaEdi, u"bompiani"_qs);
        type(dialog->EArgomento, u"romanzo"_qs);
        dialog->EDPubblica->setFocus();
        dialog->EDPubblica->setDate(QDate(1980, 9, 30));
        type(dialog->ECollana, u"tascabili"_qs);
        type(dialog->ENPagine, u"503"_qs);
        type(dialog->ELingua, u"italiano"_qs);
        dialog->CBFormato->setFocus();
        dialog->CBFormato->setCurrentIndex(1);
        type(dialog->EPrezzo, u"9,9"_qs);
        type(dialog->ECosto, u"4,5"_qs);
        QApplication::clipboard()->setText(u"prima riga\r\nseconda riga"_qs);
        dialog->MENote->setFocus();
        QTest::keyClick(dialog->MENote, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(dialog->MENote, Qt::Key_Return); // no new line
        QTest::keyClicks(dialog->MENote, u"!"_qs);
        QTest::mouseClick(dialog->BBInserisci, Qt::LeftButton);

        QCOMPARE(table().recordCount(), 1);
        const BookRecord book = table().record(table().rowAt(0));
        auto text = [](const std::optional<QString>& value) { return value.value_or(u"-"_qs); };
        QCOMPARE(text(book.barcode), u"978-88"_qs);
        QCOMPARE(text(book.titolo), u"IL NOME DELLA ROSA"_qs);
        QCOMPARE(text(book.autore), u"ECO"_qs);
        QCOMPARE(text(book.casaedi), u"BOMPIANI"_qs);
        QCOMPARE(text(book.argomento), u"ROMANZO"_qs);
        QCOMPARE(book.annopubblicazione.value_or(QDate()), QDate(1980, 9, 30));
        QCOMPARE(text(book.collana), u"TASCABILI"_qs);
        QCOMPARE(book.npagine.value_or(-1), 503);
        QCOMPARE(text(book.lingua), u"ITALIANO"_qs);
        QCOMPARE(text(book.formato), u"E-BOOK"_qs);
        QCOMPARE(book.prezzo.value_or(-1), 9.9);
        QCOMPARE(book.costo.value_or(-1), 4.5);
        QCOMPARE(text(book.note), u"prima riga\r\nseconda riga!"_qs);
        QCOMPARE(text(book.NumScad).size(), 12);

        QCOMPARE(table().state(), State::Insert);
        for (DBEdit* edit : {dialog->EBarcode, dialog->ETitolo, dialog->EAutore, dialog->ECasaEdi,
                 dialog->EArgomento, dialog->ECollana, dialog->ELingua})
            QCOMPARE(edit->text(), QString());
        QCOMPARE(dialog->EDPubblica->text(), u"01/01/1900"_qs);
        QCOMPARE(dialog->ENPagine->text(), u"0"_qs);
        QCOMPARE(dialog->EPrezzo->text(), u"0,00"_qs);
        QCOMPARE(dialog->ECosto->text(), u"0,00"_qs);
        QCOMPARE(dialog->CBFormato->currentText(), QString());
        QCOMPARE(dialog->MENote->toPlainText(), QString());
        QVERIFY(hasFocus(dialog->EBarcode));
    }

    void modifyShowsTheBookAndEsciChangesNothing()
    {
        addBooks({"ALFA", "BETA", "GAMMA"});
        table().moveTo(1);
        table().edit();
        table().setValue(Field::Prezzo, 7.0);
        table().setText(Field::Note, u"uno\r\ndue"_qs);
        table().post();
        const BookRecord before = table().record();
        runDialog([this] { window->BBModifica->click(); },
            [this] {
                QCOMPARE(table().state(), State::Edit);
                QCOMPARE(dialog->ETitolo->text(), u"BETA"_qs);
                QCOMPARE(dialog->EPrezzo->text(), u"7,00"_qs);
                QCOMPARE(dialog->MENote->toPlainText(), u"uno\ndue"_qs);
                QVERIFY(hasFocus(dialog->EBarcode));
                type(dialog->ETitolo, u"ZETA"_qs);
                leave(dialog->ETitolo);
                type(dialog->EPrezzo, u"1"_qs);
                leave(dialog->EPrezzo);
                QCOMPARE(table().displayText(Field::Titolo), u"ZETA"_qs);
                dialog->MENote->setPlainText(u"altro"_qs);
                QTest::mouseClick(dialog->BBEsci, Qt::LeftButton);
            });
        QCOMPARE(table().state(), State::Browse);
        QCOMPARE(table().record(), before);
        QCOMPARE(titles(), (QStringList {u"ALFA"_qs, u"BETA"_qs, u"GAMMA"_qs}));
    }

    // A new title moves the book in the grid; it stays current.
    void modifiedTitleMovesTheBookWhichStaysCurrent()
    {
        addBooks({"ALFA", "BETA", "GAMMA"});
        table().moveTo(0);
        const RowId alfa = table().currentRow();
        runDialog([this] { window->BBModificaClick(); },
            [this] {
                type(dialog->ETitolo, u"zeta"_qs);
                QTest::mouseClick(dialog->BBInserisci, Qt::LeftButton);
                // Confirming a change closes the dialog.
                QVERIFY(!dialog->isVisible());
            });
        QCOMPARE(titles(), (QStringList {u"BETA"_qs, u"GAMMA"_qs, u"ZETA"_qs}));
        QCOMPARE(table().currentRow(), alfa);
        QCOMPARE(gridRow(), alfa);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void modifyOnAnEmptyCatalogueDoesNothing()
    {
        bool opened = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout,
            [&] { opened |= QApplication::activeModalWidget() != nullptr; });
        watcher.start(1);
        window->BBModificaClick();
        QTest::qWait(20);
        QVERIFY(!opened);
    }

    // A row that cannot be put into editing: the message, and the dialog
    // stays open.
    void rowNotAvailable()
    {
        const auto seen = MessageBoxes::closeNext();
        bool stayedOpen = false;
        whenReady([&] { return seen->shown && QApplication::activeModalWidget() == dialog.get(); },
            [&] {
                stayedOpen = dialog->isVisible();
                dialog->BBEsci->click();
            });
        dialog->OpenForModify();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, u"Riga non disponibile !"_qs);
        QCOMPARE(seen->icon, QMessageBox::NoIcon);
        QVERIFY(stayedOpen);
        QCOMPARE(table().state(), State::Browse);
    }

    void closeBoxActsAsEsci()
    {
        addBooks({"ALFA"});
        runDialog([this] { window->BBInserisciClick(); },
            [this] {
                type(dialog->ETitolo, u"NUOVO"_qs);
                leave(dialog->ETitolo);
                dialog->close();
            });
        QCOMPARE(titles(), QStringList {u"ALFA"_qs});
        QCOMPARE(table().state(), State::Browse);

        const BookRecord before = table().record();
        runDialog([this] { window->BBModificaClick(); },
            [this] {
                type(dialog->ETitolo, u"CAMBIATO"_qs);
                leave(dialog->ETitolo);
                dialog->close();
            });
        QCOMPARE(table().record(), before);
        QCOMPARE(table().state(), State::Browse);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    // No default and no cancel button: Enter in an edit and Esc anywhere leave
    // the dialog open; Enter works on the focused button.
    void enterAndEscDoNotCloseTheDialog()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"LIBRO"_qs);
        QTest::keyClick(dialog->ETitolo, Qt::Key_Return);
        dialog->BBInserisci->setFocus();
        QTest::keyClick(dialog->BBInserisci, Qt::Key_Escape);
        dialog->MENote->setFocus();
        QTest::keyClick(dialog->MENote, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        QCOMPARE(table().recordCount(), 0);
        QCOMPARE(dialog->MENote->toPlainText(), QString());

        dialog->BBInserisci->setFocus();
        QTest::keyClick(dialog->BBInserisci, Qt::Key_Return);
        QCOMPARE(table().recordCount(), 1);
        dialog->BBEsci->setFocus();
        QTest::keyClick(dialog->BBEsci, Qt::Key_Enter);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(table().state(), State::Browse);
    }

    void valueTheFieldCannotTake_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("pages") << u"ENPagine"_qs << u"12-3"_qs
                               << u"'12-3' is not a valid integer value for field 'npagine'"_qs;
        QTest::newRow("pages too many")
            << u"ENPagine"_qs << u"99999999999"_qs
            << u"'99999999999' is not a valid integer value for field 'npagine'"_qs;
        QTest::newRow("price") << u"EPrezzo"_qs << u"1,2,3"_qs
                               << u"'1,2,3' is not a valid floating point value for field "
                                  u"'prezzo'"_qs;
        QTest::newRow("cost") << u"ECosto"_qs << u"e"_qs
                              << u"'e' is not a valid floating point value for field 'costo'"_qs;
    }
    // Leaving the edit shows the field's message and keeps the user there;
    // confirming gives "errore post"; the row stays pending in both cases.
    void valueTheFieldCannotTake()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"LIBRO"_qs);
        auto* control = dialog->findChild<DBEdit*>(edit);
        type(control, typed);

        auto seen = MessageBoxes::closeNext();
        leave(control);
        QTRY_VERIFY(seen->shown);
        QCOMPARE(seen->icon, QMessageBox::Critical);
        QCOMPARE(seen->text, message);
        QCOMPARE(dialog->focusWidget(), control);
        QCOMPARE(control->selectedText(), typed);
        QCOMPARE(table().state(), State::Insert);

        seen = MessageBoxes::closeNext();
        QTest::keyClick(control, Qt::Key_Insert);
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, u"errore post"_qs);
        QCOMPARE(seen->icon, QMessageBox::NoIcon);
        QCOMPARE(table().state(), State::Insert);
        QCOMPARE(table().recordCount(), 0);
        QVERIFY(dialog->isVisible());

        // Corrected, the book is stored.
        QCOMPARE(dialog->focusWidget(), control);
        QTest::keyClick(control, Qt::Key_Escape);
        seen = MessageBoxes::closeNext();
        QTest::keyClick(control, Qt::Key_Insert);
        QVERIFY(!seen->shown);
        QCOMPARE(table().recordCount(), 1);
        QCOMPARE(table().displayText(table().rowAt(0), Field::Titolo), u"LIBRO"_qs);
    }

    // The date editor never passes on a date it cannot read: a day the month
    // does not have is corrected as it is typed.
    void impossibleDateIsNeverStored()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"LIBRO"_qs);
        dialog->EDPubblica->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(dialog->EDPubblica, u"31022005"_qs);
        leave(dialog->EDPubblica);
        QCOMPARE(table().value(Field::AnnoPubblicazione), FieldValue(QDate(2005, 2, 28)));
        QCOMPARE(dialog->EDPubblica->text(), table().displayText(Field::AnnoPubblicazione));
        dialog->BBInserisci->click();
        QCOMPARE(table().recordCount(), 1);
    }

    void dateTypedClearedAndToday()
    {
        show(TFMFSCAD::emInsert);
        QCOMPARE(dialog->EDPubblica->text(), u"01/01/1900"_qs);
        // Typed part by part.
        dialog->EDPubblica->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(dialog->EDPubblica, u"12052005"_qs);
        leave(dialog->EDPubblica);
        QCOMPARE(table().value(Field::AnnoPubblicazione), FieldValue(QDate(2005, 5, 12)));

        // Cleared: no date.
        dialog->EDPubblica->setFocus();
        dialog->EDPubblica->editor()->selectAll();
        QTest::keyClick(dialog->EDPubblica, Qt::Key_Delete);
        leave(dialog->EDPubblica);
        QVERIFY(table().isNull(Field::AnnoPubblicazione));
        QVERIFY(!dialog->EDPubblica->hasDate());
        QCOMPARE(dialog->EDPubblica->text().trimmed(), QString());

        // Typing into the blank editor gives a date again.
        dialog->EDPubblica->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(dialog->EDPubblica, u"03042001"_qs);
        leave(dialog->EDPubblica);
        QCOMPARE(table().value(Field::AnnoPubblicazione), FieldValue(QDate(2001, 4, 3)));

        // The calendar's one button picks today.
        QTest::mouseClick(dialog->EDPubblica, Qt::LeftButton, {},
            QPoint(dialog->EDPubblica->width() - 6, dialog->EDPubblica->height() / 2));
        TodayCalendar* calendar = dialog->EDPubblica->calendar();
        QTRY_VERIFY(calendar->isVisible());
        calendar->todayButton()->click();
        QTRY_VERIFY(!calendar->isVisible());
        QCOMPARE(dialog->EDPubblica->date(), QDate::currentDate());
        dialog->EDPubblica->setFocus();
        leave(dialog->EDPubblica);
        QCOMPARE(table().value(Field::AnnoPubblicazione), FieldValue(QDate::currentDate()));

        type(dialog->ETitolo, u"LIBRO"_qs);
        dialog->BBInserisci->click();
        QCOMPARE(table().value(table().rowAt(0), Field::AnnoPubblicazione),
            FieldValue(QDate::currentDate()));
    }

    void lettersAndLengths()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->EBarcode, u"abcdefghij-klmnopqrstuvwxyz"_qs);
        QCOMPARE(dialog->EBarcode->text(), u"ABCDEFGHIJ-KLMNOPQRS"_qs);
        const QString title75 = QString(75, u'x');
        type(dialog->ETitolo, title75);
        QCOMPARE(dialog->ETitolo->text(), QString(70, u'X'));
        // Pasted text too.
        QApplication::clipboard()->setText(u"inglese e francese antico"_qs);
        dialog->ELingua->setFocus();
        dialog->ELingua->selectAll();
        QTest::keyClick(dialog->ELingua, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(dialog->ELingua->text(), u"INGLESE E FRANCESE A"_qs);

        // The format keeps what is typed, as typed, cut to the field's size
        // when stored.
        dialog->CBFormato->setFocus();
        QTest::keyClicks(dialog->CBFormato, u"Cassetta audio originale"_qs);
        leave(dialog->CBFormato);
        QCOMPARE(table().displayText(Field::Formato), u"Cassetta audio origi"_qs);
        QCOMPARE(dialog->CBFormato->currentText(), u"Cassetta audio origi"_qs);

        // The notes take 500 characters, a line break counting as two.
        dialog->MENote->setFocus();
        QTest::keyClicks(dialog->MENote, QString(495, u'n'));
        QApplication::clipboard()->setText(u"ab\ncd"_qs);
        QTest::keyClick(dialog->MENote, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(dialog->MENote->notes(), QString(495, u'n') + u"ab\r\nc");
        QTest::keyClicks(dialog->MENote, u"zz"_qs);
        QCOMPARE(dialog->MENote->notes().size(), 500);
        dialog->BBInserisci->click();
        QCOMPARE(table().displayText(table().rowAt(0), Field::Note).size(), 500);
    }

    // Esc puts back what the edit showed before the typing in it.
    void escRestoresTheEdit()
    {
        show(TFMFSCAD::emInsert);
        type(dialog->ETitolo, u"PRIMO"_qs);
        leave(dialog->ETitolo);
        dialog->ETitolo->setFocus();
        QTest::keyClick(dialog->ETitolo, Qt::Key_End);
        QTest::keyClicks(dialog->ETitolo, u" altro"_qs);
        QCOMPARE(dialog->ETitolo->text(), u"PRIMO ALTRO"_qs);
        QTest::keyClick(dialog->ETitolo, Qt::Key_Escape);
        QCOMPARE(dialog->ETitolo->text(), u"PRIMO"_qs);
        QCOMPARE(dialog->ETitolo->selectedText(), u"PRIMO"_qs);

        type(dialog->EPrezzo, u"12,5"_qs);
        QTest::keyClick(dialog->EPrezzo, Qt::Key_Escape);
        QCOMPARE(dialog->EPrezzo->text(), u"0,00"_qs);
        leave(dialog->EPrezzo);
        QCOMPARE(table().value(Field::Prezzo), FieldValue(0.0));
        QVERIFY(dialog->isVisible());
        QCOMPARE(table().displayText(Field::Titolo), u"PRIMO"_qs);
    }

    // The dialog keeps its members from one use to the next.
    void reusedNotRecreated()
    {
        addBooks({"ALFA"});
        runDialog([this] { window->BBModificaClick(); },
            [this] { QTest::mouseClick(dialog->BBEsci, Qt::LeftButton); });
        QCOMPARE(dialog->EditMode, TFMFSCAD::emModify);
        TFMFSCAD* first = dialog.get();
        runDialog([this] { window->BBInserisciClick(); },
            [this] {
                QCOMPARE(dialog->EditMode, TFMFSCAD::emInsert);
                dialog->BBEsci->click();
            });
        QCOMPARE(dialog.get(), first);
        QCOMPARE(titles(), QStringList {u"ALFA"_qs});
    }

    // The program asked to end while the dialog is open (the window system
    // ends the session): the dialog closes and nothing stays pending for the
    // data file. Ending every event loop, this runs last.
    void programEndingWhileOpen()
    {
        addBooks({"ALFA"});
        runDialog([this] { window->BBInserisciClick(); },
            [this] {
                type(dialog->ETitolo, u"NUOVO"_qs);
                leave(dialog->ETitolo);
                QCOMPARE(table().state(), State::Insert);
                QCoreApplication::exit(0);
            },
            false);
        QCOMPARE(table().state(), State::Browse);
        QCOMPARE(titles(), QStringList {u"ALFA"_qs});
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    EntryDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ufmfscad_test.moc"
