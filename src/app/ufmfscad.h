#pragma once

#include <QDialog>

#include <vector>

class BevelPanel;
class CatalogueTable;
class DataControl;
class DataSource;
class DBComboBox;
class DBDateEdit;
class DBEdit;
class NotesMemo;
class QLabel;
class QPushButton;

// The book entry dialog. In insert mode it adds a continuous series of new
// books, one after the other, until the user leaves; in modify mode it
// changes the table's current book and closes when the change is confirmed.
// Its edits show and change the table's pending row directly; the notes box
// is copied to and from the notes field by the dialog. Whenever it closes,
// a new row or change not confirmed is abandoned.
class TFMFSCAD : public QDialog
{
    Q_OBJECT

public:
    enum TEditMode { emInsert = 1, emModify = 2 };

    explicit TFMFSCAD(CatalogueTable& scadData, QWidget* parent = nullptr);
    ~TFMFSCAD() override;

    // The mode set by the operation that opened the dialog.
    TEditMode EditMode = emInsert;
    // The message of the last failed check; emptied at every check.
    QString ValidationMessage;
    // The control that receives the focus after a failed check.
    QWidget* ValidationControl = nullptr;

    DataSource* DataSource1;
    BevelPanel* Panel1;
    BevelPanel* Panel2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    DBEdit* EBarcode;
    DBEdit* ETitolo;
    DBEdit* EAutore;
    DBEdit* ECasaEdi;
    DBEdit* EArgomento;
    DBDateEdit* EDPubblica;
    DBEdit* ECollana;
    DBEdit* ENPagine;
    DBEdit* ELingua;
    DBComboBox* CBFormato;
    DBEdit* EPrezzo;
    DBEdit* ECosto;
    NotesMemo* MENote;
    QPushButton* BBInserisci;
    QPushButton* BBEsci;

    // Show the dialog modally in its mode; return when it has closed.
    void OpenForInsert();
    // Works on the table's current row, which the caller has made sure exists.
    void OpenForModify();

    // True when the entry may be stored; without check, only resets the
    // message.
    bool ValidateEntry(bool check);

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void FormClose();
    // The Insert key in one of the edits that confirm with it.
    void DBComboBox3KeyDown(QObject* sender, int key, Qt::KeyboardModifiers shift);

public:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeControls();
    void startEntry();
    void openModally(TEditMode mode);

    CatalogueTable& m_table;
    std::vector<DataControl*> m_dataControls;
};
