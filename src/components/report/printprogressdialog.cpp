#include "printprogressdialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

PrintProgressDialog::PrintProgressDialog(QWidget* parent)
    : QDialog(parent)
    , m_bar(new QProgressBar(this))
    , m_label(new QLabel(this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setWindowTitle(QStringLiteral("Printing progress"));
    if (parent)
        setWindowModality(Qt::WindowModal);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_label->setObjectName(QStringLiteral("progressText"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_label);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    setMinimumWidth(260);
    connect(m_cancel, &QPushButton::clicked, this, &PrintProgressDialog::reject);
    setPercent(0);
}

void PrintProgressDialog::setPercent(int percent)
{
    const int step = std::clamp(percent, 0, 100) / 5 * 5;
    if (step == m_shown)
        return;
    m_shown = step;
    m_bar->setValue(step);
    m_label->setText(QString::number(step) + QStringLiteral("%  Completed"));
}

QString PrintProgressDialog::text() const
{
    return m_label->text();
}

// Cancel, Esc and closing the window all stop the printing.
void PrintProgressDialog::reject()
{
    m_cancel->setEnabled(false);
    emit cancelled();
}
