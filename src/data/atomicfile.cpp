#include "atomicfile.h"

#include "error.h"

#include <QDir>
#include <QSaveFile>

QString cannotCreateFileMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2")
        .arg(QDir::toNativeSeparators(path), systemErrorText(reason));
}

void writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(cannotCreateFileMessage(path, file.errorString()));
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        throw Error(QStringLiteral("Stream write error"));
    }
    if (!file.commit()) {
        // Buffered bytes are written by commit; a failure there is a write
        // failure too. Otherwise the rename failed.
        if (file.error() == QFileDevice::WriteError)
            throw Error(QStringLiteral("Stream write error"));
        throw Error(cannotCreateFileMessage(path, file.errorString()));
    }
}
