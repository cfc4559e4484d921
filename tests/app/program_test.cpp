#include "application.h"
#include "catalogtable.h"
#include "error.h"
#include "ffmain.h"
#include "messageboxes.h"
#include "programlock.h"
#include "testenvironment.h"
#include "tomstart.h"
#include "ufmfscad.h"

#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/wait.h>
#include <unistd.h>

using TestEnvironment::readFile;
using TestEnvironment::writeFile;

namespace {

// An object whose event handler fails, as any handler of the program may.
class FailingObject : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw Error(QStringLiteral("Stream write error"));
        return QObject::event(event);
    }
};

} // namespace

class ProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::pin(); }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << u"/opt/x/Tomario"_qs << u"Tomario"_qs;
        QTest::newRow("upper with extension") << u"/opt/x/TOMARIO.EXE"_qs << u"Tomario"_qs;
        QTest::newRow("two dots") << u"/opt/x/tomario.bin.exe"_qs << u"tomario"_qs;
        QTest::newRow("mixed") << u"MyCatalog"_qs << u"Mycatalog"_qs;
    }
    void applicationTitle()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(Application::titleFor(path), title);
    }

    // An error escaping an event handler is shown, and the program goes on.
    void errorBoxShowsEscapedErrors()
    {
        FailingObject failing;
        const auto seen = MessageBoxes::closeNext();
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QTRY_VERIFY(seen->shown);
        QCOMPARE(seen->icon, QMessageBox::Critical);
        QCOMPARE(seen->title, Application::title());
        QCOMPARE(seen->text, u"Stream write error."_qs);
        QCOMPARE(seen->buttons, 1);
    }

    void fullRunWritesTheCatalogue()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Librdata.dat"_qs);
        writeFile(file, "titolo\nUNO\n");
        QStringList reports;
        {
            TomarioProgram program({dir.filePath(u"Tomario"_qs), RegionalSettings::italian(),
                [&](const QString& m) { reports << m; }});
            QVERIFY(program.start());
            QCOMPARE(program.DM1()->ScadData.recordCount(), 1);
            QCOMPARE(program.FFMAIN()->objectName(), u"FFMAIN"_qs);
            QCOMPARE(program.FFMAIN()->windowTitle(), Application::title());
            // The entry dialog waits hidden; "Inserisci" opens it.
            TFMFSCAD* entry = program.FMFSCAD();
            QVERIFY(entry);
            QCOMPARE(entry->objectName(), u"FMFSCAD"_qs);
            QVERIFY(!entry->isVisible());
            QWidget* opened = nullptr;
            QTimer::singleShot(0, [&] {
                opened = QApplication::activeModalWidget();
                entry->BBEsci->click();
            });
            program.FFMAIN()->BBInserisci->click();
            QCOMPARE(opened, entry);
            QVERIFY(!entry->isVisible());
            QCOMPARE(program.DM1()->ScadData.recordCount(), 1);
            // A second copy on the same folder is refused and touches nothing.
            TomarioProgram second({dir.filePath(u"Tomario"_qs), RegionalSettings::italian(),
                [&](const QString& m) { reports << m; }});
            QVERIFY(!second.start());
            QCOMPARE(reports, QStringList {ProgramLock::refusalMessage()});
            QCOMPARE(readFile(file), QByteArray("titolo\nUNO\n"));
        }
        QVERIFY(readFile(file).contains("\tUNO\t"));
        QVERIFY(readFile(file).endsWith("\r\n"));
    }

    void secondCopyIsRefusedWithoutTouchingTheFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Librdata.dat"_qs);
        writeFile(file, "titolo\r\nUNO\r\n");
        const QDateTime written = QFileInfo(file).lastModified();
        QLockFile otherCopy(dir.filePath(u"Tomario.lock"_qs));
        QVERIFY(otherCopy.tryLock(0));

        const auto seen = MessageBoxes::closeNext();
        TomarioProgram program({dir.filePath(u"Tomario"_qs), RegionalSettings::italian()});
        QVERIFY(!program.start());
        program.finish();
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, u"Il catalogo e' gia' aperto in un'altra copia del programma."_qs);
        QCOMPARE(readFile(file), QByteArray("titolo\r\nUNO\r\n"));
        QCOMPARE(QFileInfo(file).lastModified(), written);
    }

    // The lock of a copy that crashed is taken over.
    void lockOfACrashedCopyIsTakenOver()
    {
        QTemporaryDir dir;
        const QString lockPath = dir.filePath(u"Tomario.lock"_qs);
        const pid_t child = fork();
        if (child == 0) {
            QLockFile lock(lockPath);
            lock.tryLock(0);
            _exit(lock.isLocked() ? 0 : 1); // ends without unlocking
        }
        int status = 0;
        waitpid(child, &status, 0);
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(QFile::exists(lockPath));

        QStringList reports;
        TomarioProgram program({dir.filePath(u"Tomario"_qs), RegionalSettings::italian(),
            [&](const QString& m) { reports << m; }});
        QVERIFY(program.start());
        QVERIFY(reports.isEmpty());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    ProgramTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "program_test.moc"
