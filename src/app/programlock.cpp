#include "programlock.h"

#include <QDir>

ProgramLock::ProgramLock(const QString& programDir)
    : m_lock(QDir(programDir).filePath(QStringLiteral("Tomario.lock")))
{
    // Only a dead owner makes the lock stale, however old it is.
    m_lock.setStaleLockTime(0);
}

bool ProgramLock::acquire()
{
    if (m_lock.tryLock(0))
        return true;
    return m_lock.error() != QLockFile::LockFailedError;
}

QString ProgramLock::refusalMessage()
{
    return QStringLiteral("Il catalogo e' gia' aperto in un'altra copia del programma.");
}
