#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small window shown while a report prints: a progress bar, the line
// "N%  Completed" refreshed at every multiple of 5 per cent, and a button
// that cancels the printing.
class PrintProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PrintProgressDialog(QWidget* parent = nullptr);

    // Shows the largest multiple of 5 not above percent, when it changed.
    void setPercent(int percent);
    QString text() const;
    int shownPercent() const { return m_shown; }

signals:
    void cancelled();

protected:
    void reject() override;

private:
    QProgressBar* m_bar;
    QLabel* m_label;
    QPushButton* m_cancel;
    int m_shown = -1;
};
