#pragma once

#include <QLabel>

// A read-only web link: the address underlined in blue, flat, without edges,
// skipped by the Tab key; a single click opens it.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString& address, QWidget* parent = nullptr);

    // The address as a URL, with the web scheme put in front when it has
    // none.
    static QUrl urlOf(const QString& address);

signals:
    void activated(const QUrl& url);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
