#include "application.h"
#include "bandedgrid.h"
#include "bandedtableview.h"
#include "ffmain.h"
#include "report.h"
#include "reportpreview.h"
#include "splitbutton.h"
#include "testenvironment.h"
#include "udm1.h"
#include "ufqrstscad.h"

#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using TestEnvironment::onNextModal;

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TDM1> dm;
    std::unique_ptr<TFFMAIN> window;

    void addBooks(std::initializer_list<const char*> titles)
    {
        for (const char* title : titles) {
            dm->ScadData.append();
            dm->ScadData.setText(Field::Titolo, QString::fromLatin1(title));
            dm->ScadData.post();
        }
    }
    QString currentTitle() const { return dm->ScadData.displayText(Field::Titolo); }

    // Answers the delete question with a key and reads the box.
    QString answerDeleteQuestion(int key)
    {
        QString seen;
        onNextModal([&seen, key](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            seen = box->windowTitle() + u'|' + box->text() + u'|'
                + QString::number(int(box->icon())) + u'|' + box->button(QMessageBox::Yes)->text()
                + u'|' + box->button(QMessageBox::No)->text() + u'|'
                + (box->defaultButton() == box->button(QMessageBox::Yes) ? u"yes"_qs : u"no"_qs);
            QTest::keyClick(box, Qt::Key(key));
        });
        window->BBCancella->click();
        return seen;
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
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        window.reset();
        dm.reset();
        dir.reset();
    }

    void namesCaptionsAndFocus()
    {
        QCOMPARE(window->objectName(), u"FFMAIN"_qs);
        QCOMPARE(window->windowTitle(), Application::title());
        const struct
        {
            QPushButton* button;
            const char* name;
            const char* caption;
            QRect geometry;
        } buttons[] = {
            {window->BBInserisci, "BBInserisci", "Inserisci", {8, 8, 121, 33}},
            {window->BBModifica, "BBModifica", "Modifica", {8, 40, 121, 33}},
            {window->BBCancella, "BBCancella", "Cancella", {8, 72, 121, 33}},
            {window->BBStampa, "BBStampa", "Stampa", {8, 104, 121, 33}},
            {window->BBEsci, "BBEsci", "Esci", {8, 160, 121, 33}},
        };
        for (const auto& b : buttons) {
            QCOMPARE(b.button->objectName(), QString::fromLatin1(b.name));
            QCOMPARE(b.button->text(), QString::fromLatin1(b.caption));
            QCOMPARE(b.button->geometry(), b.geometry);
            QVERIFY(!b.button->isDefault());
        }
        QCOMPARE(window->StampaTOTALE1->text(), u"Stampa TOTALE"_qs);
        QCOMPARE(window->StampaHTMLselezione1->text(), u"Stampa HTML (selezione)"_qs);
        QCOMPARE(window->PopupMenu1->objectName(), u"PopupMenu1"_qs);
        // Showing the window puts the focus on "Inserisci".
        QTRY_COMPARE(QApplication::focusWidget(), window->BBInserisci);
        // The tab order runs from the grid through the five buttons.
        window->cxGrid1->setFocus();
        for (QWidget* next :
            std::initializer_list<QWidget*> {window->BBInserisci, window->BBModifica,
                window->BBCancella, window->BBStampa, window->BBEsci, window->cxGrid1}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void notesColumnShowsItsFieldName()
    {
        const GridLayout& layout = window->cxGrid1DBTableView1->layout();
        QCOMPARE(layout.column(layout.columnOf(Field::Note)).shownCaption(), u"note"_qs);
        QCOMPARE(layout.column(layout.columnOf(Field::Barcode)).shownCaption(), u"Codice"_qs);
        QVERIFY(!layout.column(layout.columnOf(Field::RecId)).visible);
        QVERIFY(!layout.column(layout.columnOf(Field::NumScad)).visible);
    }

    void cancellaAskedAndAnswered()
    {
        addBooks({"A", "B", "C"});
        dm->ScadData.moveTo(1);
        QCOMPARE(answerDeleteQuestion(Qt::Key_N),
            u"Confirm|Confermi cancellazione nominativo ?|4|&Yes|&No|yes"_qs);
        QCOMPARE(dm->ScadData.recordCount(), 3);
        answerDeleteQuestion(Qt::Key_Escape);
        QCOMPARE(dm->ScadData.recordCount(), 3);
        answerDeleteQuestion(Qt::Key_Y);
        QCOMPARE(dm->ScadData.recordCount(), 2);
        QCOMPARE(currentTitle(), u"C"_qs); // the following book
        answerDeleteQuestion(Qt::Key_Y);
        QCOMPARE(currentTitle(), u"A"_qs); // the new last book
    }

    void deleteKeyInTheGridAsksNothing()
    {
        addBooks({"A", "B"});
        dm->ScadData.moveTo(0);
        window->cxGrid1->setFocus();
        QTest::keyClick(window->cxGrid1, Qt::Key_Delete);
        QCOMPARE(dm->ScadData.recordCount(), 1);
        QTest::keyClick(window->cxGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(dm->ScadData.recordCount(), 0);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // On an empty catalogue the commands that need books do nothing.
    void emptyCatalogueCommandsDoNothing()
    {
        bool opened = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout,
            [&] { opened |= QApplication::activeModalWidget() != nullptr; });
        watcher.start(1);
        window->BBModificaClick();
        window->BBCancellaClick();
        window->StampaTOTALE1Click();
        window->StampaHTMLselezione1Click();
        QTest::qWait(20);
        QVERIFY(!opened);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(
                     windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); }),
            1);
        QVERIFY(!QFile::exists(dir->filePath(u"LibrLst.html"_qs)));
    }

    void splitButtonOpensItsMenuOnlyFromTheArrow()
    {
        SplitButton* stampa = window->BBStampa;
        bool menuShown = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (QApplication::activePopupWidget() == window->PopupMenu1) {
                menuShown = true;
                window->PopupMenu1->close();
            }
        });
        watcher.start(1);
        QTest::mouseClick(stampa, Qt::LeftButton, {}, QPoint(20, 16));
        QTest::qWait(20);
        QVERIFY(!menuShown);

        QTest::mouseClick(stampa, Qt::LeftButton, {}, QPoint(121 - 7, 16));
        QTRY_VERIFY(menuShown);

        menuShown = false;
        stampa->setFocus();
        QTest::keyClick(stampa, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(menuShown);
        menuShown = false;
        QTest::keyClick(stampa, Qt::Key_Up, Qt::ShiftModifier);
        QTRY_VERIFY(menuShown);
        // Centred under the button.
        const QPoint at = stampa->dropDownPosition();
        QCOMPARE(at.y(), stampa->mapToGlobal(QPoint(0, stampa->height())).y());
        const int middle = stampa->mapToGlobal(QPoint(stampa->width() / 2, 0)).x();
        QVERIFY(std::abs(at.x() + window->PopupMenu1->sizeHint().width() / 2 - middle) <= 1);
    }

    // "Stampa TOTALE" opens the preview of the whole catalogue, in the
    // table's order whatever the grid shows; closing it returns.
    void stampaTotaleOpensThePreview()
    {
        addBooks({"C", "A", "B"});
        TFFQRSTSCAD report(dm->ScadData);
        window->setReportForm(&report);
        window->cxGrid1DBTableView1->sortBy(
            window->cxGrid1DBTableView1->layout().columnOf(Field::Titolo), SortOrder::Descending);
        QString caption;
        int pages = 0;
        bool modal = true;
        // Once the pages are made: read the window, then close it.
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            ReportPreview* preview = report.report().previewWindow();
            if (!preview || report.report().isBusy())
                return;
            poll.stop();
            caption = preview->windowTitle();
            pages = preview->pageCount();
            modal = QApplication::activeModalWidget() != nullptr;
            preview->close();
        });
        poll.start(10);
        window->StampaTOTALE1->trigger();
        QVERIFY(!modal); // the main window stays usable meanwhile
        QCOMPARE(caption, u"STAMPA LIBRI"_qs);
        QCOMPARE(pages, 1);
        QCOMPARE(currentTitle(), u"C"_qs); // the table's last book
    }

    void esciClosesTheWindow()
    {
        QSignalSpy closed(window.get(), &TFFMAIN::closed);
        window->BBEsci->click();
        QCOMPARE(closed.size(), 1);
        QVERIFY(!window->isVisible());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ffmain_test.moc"
