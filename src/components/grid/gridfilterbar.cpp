#include "gridfilterbar.h"

#include "componenttexts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

GridFilterBar::GridFilterBar(QWidget* parent)
    : QWidget(parent)
    , m_enabled(new QCheckBox(this))
    , m_text(new QLabel(this))
    , m_customize(new QPushButton(componentText(u"Customize..."), this))
{
    setObjectName(QStringLiteral("FilterBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Midlight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_enabled);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_customize);
    m_text->setTextFormat(Qt::PlainText);
    // The bar is worked with the mouse: Tab goes from the grid to the next
    // control of the window.
    m_enabled->setFocusPolicy(Qt::NoFocus);
    m_customize->setFocusPolicy(Qt::NoFocus);
    connect(m_enabled, &QCheckBox::toggled, this, &GridFilterBar::enabledToggled);
    connect(m_customize, &QPushButton::clicked, this, &GridFilterBar::customizeClicked);
}

void GridFilterBar::show(const QString& text, bool enabled)
{
    const QSignalBlocker quiet(m_enabled);
    m_enabled->setChecked(enabled);
    m_text->setText(text.isEmpty() ? componentText(u"<Filter is Empty>") : text);
    m_customize->setText(componentText(u"Customize..."));
    setVisible(true);
}
