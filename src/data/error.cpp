#include "error.h"

Error::Error(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{ }

QString systemErrorText(QString text)
{
    qsizetype end = text.size();
    while (end > 0) {
        const QChar c = text.at(end - 1);
        if (c != u' ' && c != u'\r' && c != u'\n' && c != u'.')
            break;
        --end;
    }
    text.truncate(end);
    return text;
}

QString withFullStop(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}
