#pragma once

#include <QMainWindow>

class TDM1;
class QTableView;

// The main window. For now a plain list of the catalogue's books.
class TFFMAIN : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFFMAIN(TDM1& dm, QWidget* parent = nullptr);

signals:
    // The window has closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TDM1& m_dm;
    QTableView* m_view;
};
