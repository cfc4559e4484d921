#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a request to end the program the
// normal way, so that the catalogue is written before it ends.
class ShutdownSignals : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void shutdownRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
