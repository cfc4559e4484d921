// The program ends through its normal shutdown on SIGTERM, SIGINT and SIGHUP,
// so the catalogue is written. The real executable runs in a folder of its own.
#include "testenvironment.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

class ShutdownSignalsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::pin(); }

    void signalEndsTheProgramNormally_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void signalEndsTheProgramNormally()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString executable = dir.filePath(u"Tomario"_qs);
        QVERIFY(QFile::copy(QStringLiteral(TOMARIO_EXECUTABLE), executable));
        QFile::setPermissions(executable, QFile::permissions(executable) | QFileDevice::ExeOwner);
        const QString data = dir.filePath(u"Librdata.dat"_qs);
        TestEnvironment::writeFile(data, "titolo\nUNO\nDUE\n");

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        environment.insert(u"LANG"_qs, u"C"_qs);
        program.setProcessEnvironment(environment);
        program.start(executable, {});
        QVERIFY(program.waitForStarted());
        // The lock file tells that the catalogue is loaded and the window up.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(u"Tomario.lock"_qs)), 20000);
        QThread::msleep(300);
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        const QByteArray written = TestEnvironment::readFile(data);
        QVERIFY2(written.startsWith("barcode\ttitolo\t"), written.constData());
        QCOMPARE(written.count("\r\n"), 3);
        QVERIFY(!QFile::exists(dir.filePath(u"Tomario.lock"_qs)));
    }
};

QTEST_GUILESS_MAIN(ShutdownSignalsTest)

#include "shutdownsignals_test.moc"
