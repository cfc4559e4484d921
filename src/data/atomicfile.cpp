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
    writeFileAtomically(
        path, std::vector<QByteArray> {QByteArray::fromRawData(bytes.data(), bytes.size())});
}

void writeFileAtomically(const QString& path, const std::vector<QByteArray>& parts)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(cannotCreateFileMessage(path, file.errorString()));
    for (const QByteArray& part : parts) {
        if (file.write(part) != part.size()) {
            file.cancelWriting();
            throw Error(QStringLiteral("Stream write error"));
        }
    }
    if (!file.commit()) {
        // Buffered bytes are written by commit; a failure there is a write
        // failure too. Otherwise the rename failed.
        if (file.error() == QFileDevice::WriteError)
            throw Error(QStringLiteral("Stream write error"));
        throw Error(cannotCreateFileMessage(path, file.errorString()));
    }
}
