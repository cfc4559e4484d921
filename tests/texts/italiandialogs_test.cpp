// The filter dialogs once the Italian interface texts are registered.
#include "componenttexts.h"
#include "customfilterdialog.h"
#include "filterbuilderdialog.h"
#include "filterbuilderrows.h"
#include "filterfixture.h"
#include "filtertext.h"
#include "testenvironment.h"
#include "ucxtranslate.h"
#include "valuebox.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

using FilterBuilderRows::menuTexts;
using FilterBuilderRows::row;

using enum FilterOperator;
using G = GroupOperator;

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// Saves a picture of a dialog for the documentation when TOMARIO_DOCS_DIR
// names a folder.
void grab(QWidget& dialog, const QString& name)
{
    dialog.show();
    QCoreApplication::processEvents();
    const QPixmap picture = dialog.grab();
    QVERIFY(!picture.isNull());
    const QString folder = qEnvironmentVariable("TOMARIO_DOCS_DIR");
    if (!folder.isEmpty())
        QVERIFY(picture.save(QDir(folder).filePath(name)));
}

} // namespace

class ItalianDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnvironment::pin();
        QFont::insertSubstitution(u"MS Sans Serif"_s, u"DejaVu Sans"_s);
        QApplication::setFont(QFont(u"MS Sans Serif"_s, 8));
        componentTexts().clear();
        ApplyInterfaceTexts();
        books.add(u"r1"_s,
            {{Field::Titolo, u"Il commissario Levi e il faro"_s}, {Field::Lingua, u"ITALIANO"_s},
                {Field::Prezzo, 12.5}});
        books.add(u"r2"_s,
            {{Field::Titolo, u"Luna nera: ponte a Trieste"_s}, {Field::Lingua, u"INGLESE"_s},
                {Field::Prezzo, 30.0}});
    }

    void filterBuilderSpeaksItalian()
    {
        FilterBuilderDialog dialog(books.columns());
        dialog.setFilter(twoGroups());
        QCOMPARE(dialog.windowTitle(), u"Generazione filtro - [untitled.flt]"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"open"_s)->text(), u"A&pri..."_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"saveAs"_s)->text(), u"&Salva come..."_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"apply"_s)->text(), u"&Applica"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"ok"_s)->text(), u"OK"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"cancel"_s)->text(), u"Annulla"_s);

        QWidget* top = row(dialog, u"groupRow"_s, QString());
        QCOMPARE(top->findChild<QLabel*>(u"lead"_s)->text(), u"Filtra"_s);
        QCOMPARE(top->findChild<QLabel*>(u"groupCaption"_s)->text(), u"<Gruppo principale>"_s);
        QCOMPARE(items(top->findChild<QComboBox*>(u"groupOperator"_s)),
            QStringList({u"AND"_s, u"OR"_s, u"NOT AND"_s, u"NOT OR"_s}));
        QCOMPARE(menuTexts(top),
            QStringList({u"Aggiungi una &Condizione"_s, u"Aggiungi &Gruppo"_s, u"Azzera tutto"_s}));
        QWidget* group = row(dialog, u"groupRow"_s, u"1"_s);
        QCOMPARE(group->findChild<QLabel*>(u"groupCaption"_s)->text(), u"<Sottogruppo>"_s);
        QCOMPARE(menuTexts(group),
            QStringList(
                {u"Aggiungi una &Condizione"_s, u"Aggiungi &Gruppo"_s, u"&Rimuovi Riga"_s}));
        QCOMPARE(row(dialog, u"promptRow"_s, u"1"_s)->findChild<QToolButton*>()->text(),
            u"premi qui per aggiungere una nuova condizione"_s);

        QWidget* title = row(dialog, u"conditionRow"_s, u"0"_s);
        const QStringList operators = items(title->findChild<QComboBox*>(u"operator"_s));
        QCOMPARE(operators.front(), u"e' uguale a"_s);
        QVERIFY(operators.contains(u"comincia con"_s));
        QVERIFY(operators.contains(u"non e' vuoto"_s));
        QCOMPARE(title->findChild<QComboBox*>(u"operator"_s)->currentText(), u"like"_s);
        QWidget* price = row(dialog, u"conditionRow"_s, u"1/0"_s);
        QCOMPARE(price->findChild<QComboBox*>(u"operator"_s)->currentText(), u"nel range tra"_s);
        QCOMPARE(
            price->findChild<ValueBox*>(u"value"_s)->lineEdit()->placeholderText(), u"<vuoto>"_s);
        QCOMPARE(price->findChild<QLabel*>(u"invalidValue"_s)->text(), u"Valore non valido"_s);

        QCOMPARE(filterText(twoGroups(), books.columns()),
            u"Titolo like 'Il %' AND (Prezzo nel range tra 10,00 AND 30,00 OR Lingua incluso "
            u"('ITALIANO', 'INGLESE') OR Data pubblicazione is this year)"_s);
        grab(dialog, u"filter-builder.png"_s);
    }

    void fileDialogsSpeakItalian()
    {
        FilterBuilderDialog dialog(books.columns());
        dialog.show();
        QString title;
        QStringList filters;
        auto inspect = [&] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(files);
            title = files->windowTitle();
            filters = files->nameFilters();
            files->reject();
        };
        QTimer::singleShot(0, this, inspect);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"open"_s), Qt::LeftButton);
        QCOMPARE(title, u"Apri un filtro esistente"_s);
        QCOMPARE(filters, QStringList({u"Filters ( *.flt )"_s}));
        QTimer::singleShot(0, this, inspect);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"saveAs"_s), Qt::LeftButton);
        QCOMPARE(title, u"Salva in un file il filtro attivo"_s);
    }

    void customFilterSpeaksItalian()
    {
        CustomFilterDialog dialog(books.columns(), Field::Titolo);
        dialog.setFilter({G::Or,
            {FilterCondition {Field::Titolo, Like, {u"Il %"_s}},
                FilterCondition {Field::Titolo, Contains, {u"Trieste"_s}}}});
        QCOMPARE(dialog.windowTitle(), u"Custom Filter"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"heading"_s)->text(), u"Mostra le righe dove:"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"hintSingle"_s)->text(),
            u"Usa _ per rappresentare ogni singolo carattere"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"hintSeries"_s)->text(),
            u"Usa % per rappresentare qualsiasi serie di caratteri"_s);
        QCOMPARE(dialog.findChild<QRadioButton*>(u"and"_s)->text(), u"AND"_s);
        QCOMPARE(dialog.findChild<QRadioButton*>(u"or"_s)->text(), u"OR"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"cancel"_s)->text(), u"Annulla"_s);
        QCOMPARE(dialog.findChild<QComboBox*>(u"operator2"_s)->currentText(), u"contiene"_s);
        grab(dialog, u"custom-filter.png"_s);
    }

private:
    // Title like "Il %" and a subgroup: price range, languages, this year.
    static FilterExpression twoGroups()
    {
        FilterExpression filter;
        filter.root = {G::And,
            {FilterCondition {Field::Titolo, Like, {u"Il %"_s}},
                FilterGroup {G::Or,
                    {FilterCondition {Field::Prezzo, Between, {10.0, 30.0}},
                        FilterCondition {Field::Lingua, In, {u"ITALIANO"_s, u"INGLESE"_s}},
                        FilterCondition {Field::AnnoPubblicazione, ThisYear, {}}}}}};
        return filter;
    }

    FilterCatalogue books;
};

QTEST_MAIN(ItalianDialogsTest)
#include "italiandialogs_test.moc"
