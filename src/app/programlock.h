#pragma once

#include <QLockFile>
#include <QString>

// Two copies of the program on one folder would each overwrite the other's
// catalogue when they end, so the folder is locked while a copy runs. A lock
// left by a copy that crashed is taken over.
class ProgramLock
{
public:
    explicit ProgramLock(const QString& programDir);

    // False only when another running copy holds the folder. A folder where no
    // lock can be made (read-only) does not stop the program.
    bool acquire();

    static QString refusalMessage();

private:
    QLockFile m_lock;
};
