#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// An error meant for the user: its message is shown as it is by the program's
// error box. Operations report failures by throwing it; the one place that
// shows errors catches it.
class Error : public std::exception
{
public:
    explicit Error(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The text of the error box: the message, with a full stop appended when its
// last character comes after the full stop in character order (after a
// letter, but not after ")" or ".").
QString withFullStop(const QString& message);

// The operating system's description of a failure, without the trailing
// blanks, line ends and full stops that would clash with the error box's own
// full stop.
QString systemErrorText(QString text);
