#include "timestamp.h"

#include <QDateTime>

qint64 TimeStampKey::systemClock()
{
    return QDateTime::currentSecsSinceEpoch();
}

TimeStampKey::TimeStampKey(Clock clock)
    : m_clock(std::move(clock))
{ }

const QString& TimeStampKey::now()
{
    const qint64 second = m_clock();
    if (second != m_second) {
        m_second = second;
        m_text = QDateTime::fromSecsSinceEpoch(second).toString(QStringLiteral("yyMMddHHmmss"));
    }
    return m_text;
}
