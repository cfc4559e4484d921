#include "shellopen.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void ShellOpen(
    const QString& fileName, const QString& parameters, const QString& folder, int showCommand)
{
    Q_UNUSED(parameters);
    Q_UNUSED(showCommand);
    const QString name = QDir::fromNativeSeparators(fileName);
    const QString path = QDir::isAbsolutePath(name) || folder.isEmpty()
        ? name
        : QDir(QDir::fromNativeSeparators(folder)).filePath(name);
    const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    // The answer is of no use to the caller: a file that cannot be shown is
    // the desktop's to report.
    QDesktopServices::openUrl(url);
}
