// "Stampa HTML (selezione)" of the main window and ShellOpen, with the
// desktop's file handler replaced by the test's, which records what it is
// handed.
#include "application.h"
#include "bandedtableview.h"
#include "ffmain.h"
#include "shellopen.h"
#include "testenvironment.h"
#include "udm1.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using TestEnvironment::onNextModal;

class HtmlCommandTest : public QObject
{
    Q_OBJECT

public slots:
    // The desktop's handler of file URLs while the tests run.
    void openUrl(const QUrl& url) { opened << url; }

private:
    QList<QUrl> opened;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TDM1> dm;
    std::unique_ptr<TFFMAIN> window;

    QString listingPath() const { return dm->ProgramDir + HtmlListFileName; }

    void addBooks(std::initializer_list<const char*> titles)
    {
        for (const char* title : titles) {
            dm->ScadData.append();
            dm->ScadData.setText(Field::Titolo, QString::fromLatin1(title));
            dm->ScadData.post();
        }
    }

private slots:
    void initTestCase()
    {
        TestEnvironment::pin();
        QDesktopServices::setUrlHandler(u"file"_qs, this, "openUrl");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"file"_qs); }

    void init()
    {
        opened.clear();
        dir = std::make_unique<QTemporaryDir>();
        TDM1::Options options;
        options.executablePath = dir->filePath(u"Tomario"_qs);
        options.settings = RegionalSettings::italian();
        dm = std::make_unique<TDM1>(options);
        dm->DataModuleCreate();
        window = std::make_unique<TFFMAIN>(*dm);
    }

    void cleanup()
    {
        window.reset();
        dm.reset();
        dir.reset();
    }

    void shellOpenHandsOverTheWholeFileUrl_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("handedOver");

        const QString root = QDir::tempPath();
        // A program folder whose path is far longer than 128 characters.
        const QString deep = root + u"/tomario-" + QString(150, u'c') + u"/programma con spazi #1";
        QVERIFY(deep.size() > 128 + 40);
        QTest::newRow("bare name in a long folder")
            << u"LibrLst.html"_qs << deep + u'/' << deep + u"/LibrLst.html";
        QTest::newRow("folder without a final separator")
            << u"LibrLst.html"_qs << deep << deep + u"/LibrLst.html";
        QTest::newRow("absolute name")
            << root + u"/altro/pagina.html" << deep << root + u"/altro/pagina.html";
        QTest::newRow("relative name")
            << u"sotto/../LibrLst.html"_qs << deep << deep + u"/LibrLst.html";
    }

    void shellOpenHandsOverTheWholeFileUrl()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, folder);
        QFETCH(QString, handedOver);
        // The file need not exist: the desktop is told all the same, and the
        // program shows nothing of its own.
        ShellOpen(fileName, QString(), folder, 5);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0], QUrl::fromLocalFile(handedOver));
        QCOMPARE(opened[0].toLocalFile(), handedOver);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void listingWrittenThenOpened()
    {
        addBooks({"Alfa", "Beta"});
        window->StampaHTMLselezione1->trigger();
        const QByteArray page = TestEnvironment::readFile(listingPath());
        const QByteArray head
            = "<HTML>\r\n<HEAD>\r\n<TITLE>" + QFile::encodeName(listingPath()) + "</TITLE>";
        QVERIFY(page.startsWith(head));
        QVERIFY(page.contains(">Alfa</TD>"));
        QVERIFY(page.contains(">Beta</TD>"));
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(listingPath())}));
    }

    void everyBookFilteredOutStillGivesAPage()
    {
        addBooks({"Alfa"});
        window->cxGrid1DBTableView1->setFilter([](RowId) { return false; }, u"nessuno"_qs);
        window->StampaHTMLselezione1Click();
        const QByteArray page = TestEnvironment::readFile(listingPath());
        QCOMPARE(page.count("<TR>"), 1 + 3);
        QCOMPARE(page.count(".Style"), 5);
        QCOMPARE(opened.size(), 1);
    }

    void emptyCatalogueWritesAndOpensNothing()
    {
        window->StampaHTMLselezione1Click();
        QVERIFY(!QFile::exists(listingPath()));
        QVERIFY(opened.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void fileThatCannotBeCreatedShowsTheErrorAndOpensNothing()
    {
        addBooks({"Alfa"});
        // A folder in the way of the page.
        QVERIFY(QDir().mkpath(listingPath() + u"/dentro"));
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        onNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            text = box->text();
            icon = box->icon();
            box->accept();
        });
        window->StampaHTMLselezione1Click();
        QVERIFY2(
            text.startsWith(u"Cannot create file \"" + listingPath() + u"\". "), qPrintable(text));
        QVERIFY(text.endsWith(u'.'));
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY(opened.isEmpty());
        QVERIFY(QFileInfo(listingPath()).isDir());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    HtmlCommandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "htmlcommand_test.moc"
