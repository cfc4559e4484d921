#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

// The bar under a grid's rows while a filter is set: a box that switches the
// filter off and on, the filter's written form, and the button that opens
// the filter builder.
class GridFilterBar : public QWidget
{
    Q_OBJECT

public:
    explicit GridFilterBar(QWidget* parent = nullptr);

    void show(const QString& text, bool enabled);
    QCheckBox* enabledBox() const { return m_enabled; }
    QLabel* textLabel() const { return m_text; }
    QPushButton* customizeButton() const { return m_customize; }

signals:
    void enabledToggled(bool enabled);
    void customizeClicked();

private:
    QCheckBox* m_enabled;
    QLabel* m_text;
    QPushButton* m_customize;
};
