#pragma once

#include <QString>

#include <functional>

// The key of a new book: the local date and time of its creation as
// "yymmddhhnnss". The text is made once per second of the clock, since a load
// stamps every row it reads.
class TimeStampKey
{
public:
    // Seconds since the epoch; tests pass a clock of their own.
    using Clock = std::function<qint64()>;
    static qint64 systemClock();

    explicit TimeStampKey(Clock clock = &TimeStampKey::systemClock);

    const QString& now();

private:
    Clock m_clock;
    qint64 m_second = -1;
    QString m_text;
};
