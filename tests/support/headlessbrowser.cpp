#include "headlessbrowser.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <stdexcept>

namespace HeadlessBrowser {

namespace {

QString chromiumPath()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (!found.isEmpty())
        return found;
    const QString debian = QStringLiteral("/usr/bin/chromium");
    if (QFileInfo(debian).isExecutable())
        return debian;
    throw std::runtime_error(
        "Chromium is not installed: the browser check needs /usr/bin/chromium (Debian package "
        "\"chromium\")");
}

} // namespace

QString dumpDom(const QString& htmlFile)
{
    const QString chromium = chromiumPath();
    if (!QFileInfo::exists(htmlFile))
        throw std::runtime_error("no such page: " + htmlFile.toStdString());

    // A fresh profile each time, so nothing of an earlier run plays a part.
    QTemporaryDir profile;
    if (!profile.isValid())
        throw std::runtime_error("cannot make a temporary profile folder for Chromium");

    QProcess process;
    process.setProgram(chromium);
    process.setArguments({QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
        QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
        QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
        QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--dump-dom"),
        QUrl::fromLocalFile(QFileInfo(htmlFile).absoluteFilePath()).toString()});
    process.start();
    if (!process.waitForStarted(30000))
        throw std::runtime_error(
            "cannot start " + chromium.toStdString() + ": " + process.errorString().toStdString());
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        throw std::runtime_error("Chromium did not finish within two minutes");
    }
    const QByteArray dom = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || dom.isEmpty()) {
        throw std::runtime_error("Chromium failed (exit code " + std::to_string(process.exitCode())
            + "): " + process.readAllStandardError().right(2000).toStdString());
    }
    // The DOM is serialised in UTF-8.
    return QString::fromUtf8(dom);
}

} // namespace HeadlessBrowser
