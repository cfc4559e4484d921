#pragma once

#include <QMainWindow>

class BandedGrid;
class BandedTableView;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class SplitButton;
class TDM1;
class TFFQRSTSCAD;
class TFMFSCAD;

// The main window: the whole catalogue in the banded grid, and the commands
// to add, change, delete and print books and to leave. Closing it ends the
// program.
class TFFMAIN : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFFMAIN(TDM1& dm, QWidget* parent = nullptr);
    ~TFFMAIN() override;

    BandedGrid* cxGrid1;
    BandedTableView* cxGrid1DBTableView1;
    QPushButton* BBInserisci;
    QPushButton* BBModifica;
    QPushButton* BBCancella;
    SplitButton* BBStampa;
    QPushButton* BBEsci;
    QMenu* PopupMenu1;
    QAction* StampaTOTALE1;
    QAction* StampaHTMLselezione1;

    // The address of the web link in the footer.
    static QString webAddress();

    // The forms created after this window, which its commands open.
    void setEntryForm(TFMFSCAD* form) { m_entryForm = form; }
    void setReportForm(TFFQRSTSCAD* form) { m_reportForm = form; }

public slots:
    void FormShow();
    void BBInserisciClick();
    void BBModificaClick();
    void BBCancellaClick();
    void BBEsciClick();
    void StampaTOTALE1Click();
    void StampaHTMLselezione1Click();

signals:
    // The window has closed: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeButtonColumn();
    QWidget* makeFooter();
    QPushButton* makeCommandButton(
        const char* name, const QString& caption, int top, QWidget* column);

    TDM1& m_dm;
    TFMFSCAD* m_entryForm = nullptr;
    TFFQRSTSCAD* m_reportForm = nullptr;
};
