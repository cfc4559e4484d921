#include "splitbutton.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

SplitButton::SplitButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{ }

QRect SplitButton::arrowRect() const
{
    return {width() - arrowWidth, 0, arrowWidth, height()};
}

QPoint SplitButton::dropDownPosition() const
{
    const int menuWidth = m_menu ? m_menu->sizeHint().width() : 0;
    return mapToGlobal(QPoint((width() - menuWidth) / 2, height()));
}

void SplitButton::showDropDown()
{
    if (!m_menu)
        return;
    setDown(true);
    m_menu->exec(dropDownPosition());
    setDown(false);
}

void SplitButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect arrow = arrowRect();
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(arrow.left(), arrow.top() + 4, arrow.left(), arrow.bottom() - 4);
    const QPointF c = QRectF(arrow).center();
    QPainterPath path;
    path.moveTo(c.x() - 3.5, c.y() - 1.5);
    path.lineTo(c.x() + 3.5, c.y() - 1.5);
    path.lineTo(c.x(), c.y() + 2.5);
    path.closeSubpath();
    painter.fillPath(path, palette().color(isEnabled() ? QPalette::ButtonText : QPalette::Dark));
}

void SplitButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && arrowRect().contains(event->position().toPoint())) {
        showDropDown();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void SplitButton::keyPressEvent(QKeyEvent* event)
{
    const bool arrowKey = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    const bool opener = event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier);
    if (arrowKey && opener) {
        showDropDown();
        return;
    }
    QPushButton::keyPressEvent(event);
}
