#include "linklabel.h"

#include <QMouseEvent>
#include <QUrl>

LinkLabel::LinkLabel(const QString& address, QWidget* parent)
    : QLabel(address, parent)
{
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, Qt::blue);
    setPalette(colors);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
}

QUrl LinkLabel::urlOf(const QString& address)
{
    const QString trimmed = address.trimmed();
    const bool hasScheme = trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    return QUrl(hasScheme ? trimmed : QStringLiteral("http://") + trimmed);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated(urlOf(text()));
}
