// The custom filter and filter builder dialogs, driven as a user would.
#include "componenttexts.h"
#include "customfilterdialog.h"
#include "error.h"
#include "filterbuilderdialog.h"
#include "filterbuilderrows.h"
#include "filterfile.h"
#include "filterfixture.h"
#include "filtertext.h"
#include "testenvironment.h"
#include "valuebox.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

using FilterBuilderRows::menuTexts;
using FilterBuilderRows::row;

using enum FilterOperator;
using G = GroupOperator;

void triggerMenu(QWidget* row, const QString& text)
{
    const QToolButton* button = row->findChild<QToolButton*>(u"rowMenu"_s);
    for (QAction* action : button->menu()->actions()) {
        if (action->text() == text) {
            action->trigger();
            QCoreApplication::processEvents();
            return;
        }
    }
    QFAIL(qPrintable(u"no menu item "_s + text));
}

void choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

// The value fields of a condition row, once the row has shown its new ones.
QList<ValueBox*> valueBoxes(QWidget* row)
{
    QCoreApplication::processEvents();
    QList<ValueBox*> boxes;
    const QList<ValueBox*> all = row->findChildren<ValueBox*>(u"value"_s);
    for (ValueBox* box : all) {
        if (!box->isHidden())
            boxes << box;
    }
    std::sort(boxes.begin(), boxes.end(), [](ValueBox* a, ValueBox* b) {
        return a->property("index").toInt() < b->property("index").toInt();
    });
    return boxes;
}

void type(ValueBox* box, const QString& text)
{
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text);
}

} // namespace

class FilterDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnvironment::pin();
        componentTexts().clear();
        books.add(u"r1"_s, {{Field::Titolo, u"Alfa"_s}, {Field::Lingua, u"ITALIANO"_s}});
        books.add(u"r2"_s, {{Field::Titolo, u"Zeta"_s}, {Field::Lingua, u"INGLESE"_s}});
        books.add(u"r3"_s, {{Field::Titolo, u"Beta"_s}, {Field::Lingua, u"ITALIANO"_s}});
    }

    void builderBuildsAndAppliesATwoGroupFilter()
    {
        FilterBuilderDialog dialog(books.columns());
        dialog.show();
        QSignalSpy applied(&dialog, &FilterBuilderDialog::applied);
        QCOMPARE(dialog.windowTitle(), u"Filter builder - [untitled.flt]"_s);

        // A condition on the title, through the prompt line of the top group.
        QWidget* prompt = row(dialog, u"promptRow"_s, QString());
        QVERIFY(prompt);
        QCOMPARE(prompt->findChild<QToolButton*>()->text(),
            u"press the button to add a new condition"_s);
        QTest::mouseClick(prompt->findChild<QToolButton*>(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QWidget* title = row(dialog, u"conditionRow"_s, u"0"_s);
        QVERIFY(title);
        choose(title->findChild<QComboBox*>(u"operator"_s), u"like"_s);
        type(valueBoxes(title).value(0), u"A%"_s);

        // A subgroup, "OR", of a price range and a list of languages.
        QWidget* top = row(dialog, u"groupRow"_s, QString());
        QCOMPARE(top->findChild<QLabel*>(u"lead"_s)->text(), u"Filter"_s);
        QCOMPARE(top->findChild<QLabel*>(u"groupCaption"_s)->text(), u"<root>"_s);
        triggerMenu(top, u"Add &Group"_s);
        QWidget* group = row(dialog, u"groupRow"_s, u"1"_s);
        QVERIFY(group);
        QCOMPARE(group->findChild<QLabel*>(u"groupCaption"_s)->text(),
            u"applies to the following conditions"_s);
        choose(group->findChild<QComboBox*>(u"groupOperator"_s), u"OR"_s);
        QWidget* price = row(dialog, u"conditionRow"_s, u"1/0"_s);
        QVERIFY(price);
        choose(price->findChild<QComboBox*>(u"column"_s), u"Prezzo"_s);
        choose(price->findChild<QComboBox*>(u"operator"_s), u"between"_s);
        QCoreApplication::processEvents();
        QCOMPARE(valueBoxes(price).size(), 2);
        QCOMPARE(valueBoxes(price)[0]->lineEdit()->placeholderText(), u"<empty>"_s);
        type(valueBoxes(price)[0], u"10"_s);
        type(valueBoxes(price)[1], u"20,5"_s);

        QTest::mouseClick(
            row(dialog, u"promptRow"_s, u"1"_s)->findChild<QToolButton*>(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QWidget* language = row(dialog, u"conditionRow"_s, u"1/1"_s);
        QVERIFY(language);
        choose(language->findChild<QComboBox*>(u"column"_s), u"Lingua"_s);
        choose(language->findChild<QComboBox*>(u"operator"_s), u"in"_s);
        QCoreApplication::processEvents();
        // The value list offers the column's values.
        ValueBox* first = valueBoxes(language).value(0);
        first->loadValues();
        QCOMPARE(first->count(), 2);
        QCOMPARE(first->itemText(0), u"INGLESE"_s);
        first->setCurrentIndex(1);
        QCOMPARE(first->currentText(), u"ITALIANO"_s);
        QTest::mouseClick(language->findChild<QToolButton*>(u"addValue"_s), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(valueBoxes(language).size(), 2);
        type(valueBoxes(language)[1], u"INGLESE"_s);

        QTest::mouseClick(dialog.findChild<QPushButton*>(u"apply"_s), Qt::LeftButton);
        QCOMPARE(applied.size(), 1);
        QVERIFY(dialog.isVisible()); // applied without closing

        FilterExpression expected;
        expected.root = {G::And,
            {FilterCondition {Field::Titolo, Like, {u"A%"_s}},
                FilterGroup {G::Or,
                    {FilterCondition {Field::Prezzo, Between, {10.0, 20.5}},
                        FilterCondition {Field::Lingua, In, {u"ITALIANO"_s, u"INGLESE"_s}}}}}};
        QCOMPARE(applied[0][0].value<FilterExpression>(), expected);
        QCOMPARE(dialog.filter(), expected);
        QCOMPARE(filterText(dialog.filter(), books.columns()),
            u"Titolo like 'A%' and (Prezzo between 10,00 and 20,50 or Lingua in ('ITALIANO', 'INGLESE'))"_s);

        QTest::mouseClick(dialog.findChild<QPushButton*>(u"ok"_s), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.filter(), expected);
    }

    void builderMenusDependOnTheRow()
    {
        FilterBuilderDialog dialog(books.columns());
        QWidget* top = row(dialog, u"groupRow"_s, QString());
        QCOMPARE(menuTexts(top), QStringList({u"Add &Condition"_s, u"Add &Group"_s}));

        FilterExpression filter;
        filter.root = {G::NotOr,
            {FilterCondition {Field::Titolo, Blank, {}},
                FilterGroup {G::And, {FilterCondition {Field::Lingua, NotBlank, {}}}}}};
        dialog.setFilter(filter);
        top = row(dialog, u"groupRow"_s, QString());
        QCOMPARE(top->findChild<QComboBox*>(u"groupOperator"_s)->currentText(), u"NOT OR"_s);
        QCOMPARE(
            menuTexts(top), QStringList({u"Add &Condition"_s, u"Add &Group"_s, u"Clear &All"_s}));
        const QStringList member = {u"Add &Condition"_s, u"Add &Group"_s, u"&Remove Row"_s};
        QCOMPARE(menuTexts(row(dialog, u"groupRow"_s, u"1"_s)), member);
        QCOMPARE(menuTexts(row(dialog, u"conditionRow"_s, u"0"_s)), member);
        QCOMPARE(menuTexts(row(dialog, u"conditionRow"_s, u"1/0"_s)), member);

        // A condition's new neighbour goes right after it.
        triggerMenu(row(dialog, u"conditionRow"_s, u"0"_s), u"Add &Condition"_s);
        QCOMPARE(dialog.draft().root().items.size(), 3u);
        QVERIFY(!dialog.draft().isGroup({1}));
        QVERIFY(dialog.draft().isGroup({2}));
        triggerMenu(row(dialog, u"groupRow"_s, u"2"_s), u"&Remove Row"_s);
        triggerMenu(row(dialog, u"conditionRow"_s, u"0"_s), u"&Remove Row"_s);
        QCOMPARE(dialog.draft().root().items.size(), 1u);
        QVERIFY(row(dialog, u"conditionRow"_s, u"0"_s));
        QVERIFY(!row(dialog, u"conditionRow"_s, u"1"_s));
        triggerMenu(row(dialog, u"groupRow"_s, QString()), u"Clear &All"_s);
        QVERIFY(dialog.draft().root().items.empty());
        QCOMPARE(menuTexts(row(dialog, u"groupRow"_s, QString())),
            QStringList({u"Add &Condition"_s, u"Add &Group"_s}));
        // Cancel hands back nothing new.
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"cancel"_s), Qt::LeftButton);
        QCOMPARE(dialog.filter(), filter);
    }

    void builderRefusesInvalidValues()
    {
        FilterBuilderDialog dialog(books.columns());
        dialog.show();
        QSignalSpy applied(&dialog, &FilterBuilderDialog::applied);
        FilterExpression filter;
        filter.root.items.emplace_back(
            FilterCondition {Field::AnnoPubblicazione, Equal, {QDate(2024, 2, 29)}});
        dialog.setFilter(filter);
        QWidget* date = row(dialog, u"conditionRow"_s, u"0"_s);
        QCOMPARE(valueBoxes(date)[0]->currentText(), u"29/02/2024"_s);
        auto* invalid = date->findChild<QLabel*>(u"invalidValue"_s);
        type(valueBoxes(date)[0], u"31/02/2024"_s);
        QVERIFY(invalid->isHidden());
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"apply"_s), Qt::LeftButton);
        QCOMPARE(applied.size(), 0);
        QVERIFY(invalid->isVisible());
        QCOMPARE(invalid->text(), u"Invalid value"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"ok"_s), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        // Mending the value takes the mark away.
        type(valueBoxes(date)[0], u"01/03/2024"_s);
        QVERIFY(invalid->isHidden());
        QVERIFY(dialog.apply());
        QCOMPARE(
            dialog.filter().root.items[0].condition()->values[0], FieldValue(QDate(2024, 3, 1)));
    }

    void builderSavesAndOpensFilterFiles()
    {
        QTemporaryDir dir;
        FilterBuilderDialog dialog(books.columns());
        QString chosen;
        QList<std::pair<FilterBuilderDialog::FileAction, QString>> asked;
        dialog.setFileChooser([&](FilterBuilderDialog::FileAction action, const QString& name) {
            asked.append({action, name});
            return chosen;
        });
        FilterExpression filter;
        filter.root = {G::Or,
            {FilterCondition {Field::Lingua, In, {u"ITALIANO"_s, FieldValue()}},
                FilterCondition {Field::Prezzo, Greater, {12.5}}}};
        dialog.setFilter(filter);

        chosen = dir.filePath(u"lingue.flt"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"saveAs"_s), Qt::LeftButton);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].first, FilterBuilderDialog::FileAction::Save);
        QCOMPARE(asked[0].second, u"untitled.flt"_s);
        QCOMPARE(FilterFile::load(chosen, books.columns()), filter);
        QCOMPARE(dialog.windowTitle(), u"Filter builder - [lingue.flt]"_s);
        QCOMPARE(dialog.fileName(), u"lingue.flt"_s);

        // Opening reads the file into the tree; the filter is taken on apply.
        dialog.setFilter(FilterExpression());
        chosen.clear(); // the user cancels
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"open"_s), Qt::LeftButton);
        QVERIFY(dialog.draft().root().items.empty());
        chosen = dir.filePath(u"lingue.flt"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"open"_s), Qt::LeftButton);
        QCOMPARE(asked.last().first, FilterBuilderDialog::FileAction::Open);
        QCOMPARE(dialog.draft().expression(), filter);
        QVERIFY(dialog.apply());
        QCOMPARE(dialog.filter(), filter);

        // A damaged file leaves the tree, the filter and the caption alone.
        const QString damaged = dir.filePath(u"rotto.flt"_s);
        TestEnvironment::writeFile(damaged, "TOMARIO filter 1\ngroup and\ncondition");
        try {
            dialog.openFile(damaged);
            QFAIL("opened a damaged file");
        } catch (const Error& error) {
            QCOMPARE(error.message(), u"Can't build filter from source"_s);
        }
        QCOMPARE(dialog.draft().expression(), filter);
        QCOMPARE(dialog.filter(), filter);
        QCOMPARE(dialog.windowTitle(), u"Filter builder - [lingue.flt]"_s);
        QCOMPARE(row(dialog, u"conditionRow"_s, u"0"_s)
                     ->findChild<QComboBox*>(u"column"_s)
                     ->currentText(),
            u"Lingua"_s);
    }

    void builderFileDialogs()
    {
        FilterBuilderDialog dialog(books.columns());
        dialog.show();
        QString title, suffix, selected;
        QStringList filters;
        bool native = true;
        auto inspect = [&] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(files);
            title = files->windowTitle();
            suffix = files->defaultSuffix();
            filters = files->nameFilters();
            native = !files->testOption(QFileDialog::DontUseNativeDialog);
            selected = files->selectedFiles().value(0);
            files->reject();
        };
        QTimer::singleShot(0, this, inspect);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"open"_s), Qt::LeftButton);
        QCOMPARE(title, u"Open an existing filter"_s);
        QCOMPARE(filters, QStringList({u"Filters (*.flt)"_s}));
        QCOMPARE(suffix, u"flt"_s);
        QVERIFY(!native);

        QTimer::singleShot(0, this, inspect);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"saveAs"_s), Qt::LeftButton);
        QCOMPARE(title, u"Save the active filter to file"_s);
        QCOMPARE(suffix, u"flt"_s);
        QVERIFY(selected.endsWith(u"/untitled.flt"_s));
        QCOMPARE(dialog.windowTitle(), u"Filter builder - [untitled.flt]"_s);
    }

    void customFilterDialogWithLike()
    {
        CustomFilterDialog dialog(books.columns(), Field::Titolo);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), u"Custom Filter"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"heading"_s)->text(), u"Show rows where:"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"columnCaption"_s)->text(), u"Titolo"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"hintSingle"_s)->text(),
            u"Use _ to represent any single character"_s);
        QCOMPARE(dialog.findChild<QLabel*>(u"hintSeries"_s)->text(),
            u"Use % to represent any series of characters"_s);
        QCOMPARE(dialog.findChild<QRadioButton*>(u"and"_s)->text(), u"AND"_s);
        QCOMPARE(dialog.findChild<QRadioButton*>(u"or"_s)->text(), u"OR"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"ok"_s)->text(), u"OK"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"cancel"_s)->text(), u"Cancel"_s);

        auto* op1 = dialog.findChild<QComboBox*>(u"operator1"_s);
        auto* op2 = dialog.findChild<QComboBox*>(u"operator2"_s);
        auto* value1 = dialog.findChild<ValueBox*>(u"value1"_s);
        auto* value2 = dialog.findChild<ValueBox*>(u"value2"_s);
        // Operators of one value or none; ranges and lists belong to the builder.
        QCOMPARE(op1->itemText(0), QString());
        QVERIFY(op1->findText(u"like"_s) > 0);
        QVERIFY(op1->findText(u"is blank"_s) > 0);
        QCOMPARE(op1->findText(u"between"_s), -1);
        QCOMPARE(op1->findText(u"in"_s), -1);
        QCOMPARE(op1->findText(u"is today"_s), -1);

        choose(op1, u"like"_s);
        QTest::keyClicks(value1->lineEdit(), u"a%"_s);
        QTest::mouseClick(dialog.findChild<QRadioButton*>(u"or"_s), Qt::LeftButton);
        choose(op2, u"equals"_s);
        value2->loadValues();
        QCOMPARE(value2->count(), 3); // Alfa, Beta, Zeta
        value2->setCurrentIndex(value2->findText(u"Zeta"_s));
        choose(op1, u"like"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"ok"_s), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const FilterGroup expected {G::Or,
            {FilterCondition {Field::Titolo, Like, {u"a%"_s}},
                FilterCondition {Field::Titolo, Equal, {u"Zeta"_s}}}};
        QCOMPARE(dialog.filter(), expected);

        // Shown again, the dialog holds the same conditions.
        CustomFilterDialog again(books.columns(), Field::Titolo);
        again.setFilter(expected);
        QCOMPARE(again.findChild<QComboBox*>(u"operator1"_s)->currentText(), u"like"_s);
        QCOMPARE(again.findChild<ValueBox*>(u"value1"_s)->currentText(), u"a%"_s);
        QVERIFY(again.findChild<QRadioButton*>(u"or"_s)->isChecked());
        QCOMPARE(again.findChild<ValueBox*>(u"value2"_s)->currentText(), u"Zeta"_s);
        QTest::mouseClick(again.findChild<QPushButton*>(u"ok"_s), Qt::LeftButton);
        QCOMPARE(again.filter(), expected);
    }

    void customFilterDialogLeavesOutEmptyConditionsAndRefusesInvalidOnes()
    {
        CustomFilterDialog dialog(books.columns(), Field::Prezzo);
        dialog.show();
        auto* op1 = dialog.findChild<QComboBox*>(u"operator1"_s);
        auto* value1 = dialog.findChild<ValueBox*>(u"value1"_s);
        auto* op2 = dialog.findChild<QComboBox*>(u"operator2"_s);
        QCOMPARE(op1->findText(u"like"_s), -1);
        choose(op1, u"is greater than"_s);
        QTest::keyClicks(value1->lineEdit(), u"dodici"_s);
        choose(op2, u"is blank"_s);
        QVERIFY(!dialog.findChild<ValueBox*>(u"value2"_s)->isEnabled());
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"ok"_s), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.findChild<QLabel*>(u"invalid1"_s)->isVisible());
        QCOMPARE(dialog.findChild<QLabel*>(u"invalid1"_s)->text(), u"Invalid value"_s);
        value1->lineEdit()->clear(); // no value: the condition is left out
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"ok"_s), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(
            dialog.filter(), (FilterGroup {G::And, {FilterCondition {Field::Prezzo, Blank, {}}}}));
    }

    void customFilterDialogShowsOnlyWhatItCan()
    {
        const FilterCondition like {Field::Titolo, Like, {u"A%"_s}};
        const FilterCondition blank {Field::Titolo, Blank, {}};
        QVERIFY(CustomFilterDialog::canShow({}, Field::Titolo));
        QVERIFY(CustomFilterDialog::canShow({G::Or, {like, blank}}, Field::Titolo));
        QVERIFY(!CustomFilterDialog::canShow({G::Or, {like, blank, like}}, Field::Titolo));
        QVERIFY(!CustomFilterDialog::canShow({G::NotAnd, {like}}, Field::Titolo));
        QVERIFY(!CustomFilterDialog::canShow({G::And, {like}}, Field::Lingua));
        QVERIFY(!CustomFilterDialog::canShow(
            {G::And, {FilterCondition {Field::Titolo, Between, {u"A"_s, u"B"_s}}}}, Field::Titolo));
        QVERIFY(
            !CustomFilterDialog::canShow({G::And, {FilterGroup {G::And, {like}}}}, Field::Titolo));
    }

private:
    FilterCatalogue books;
};

QTEST_MAIN(FilterDialogsTest)
#include "filterdialogs_test.moc"
