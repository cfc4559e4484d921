#include "bandedgrid.h"
#include "bandedtableview.h"
#include "catalogtable.h"
#include "customfilterdialog.h"
#include "filterbuilderdialog.h"
#include "filterdropdown.h"
#include "gridfilter.h"
#include "gridfilterbar.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class GridFilterTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CatalogueTable> table;
    std::unique_ptr<BandedTableView> view;
    std::unique_ptr<BandedGrid> grid;

    int column(Field field) const { return view->layout().columnOf(field); }
    QStringList shownTitles() const
    {
        QStringList titles;
        for (int i = 0; i < view->rowCount(); ++i)
            titles << table->displayText(view->row(i).row, Field::Titolo);
        return titles;
    }
    FilterDropDown* dropDown() const { return grid->findChild<FilterDropDown*>(); }

private slots:
    void initTestCase() { TestEnvironment::pin(); }

    void init()
    {
        table = std::make_unique<CatalogueTable>(RegionalSettings::italian());
        table->open();
        const char* books[][3] = {{"ALFA", "ITALIANO", "10"}, {"BETA", "INGLESE", "5"},
            {"GAMMA", "", "7"}, {"DELTA", "ITALIANO", ""}};
        for (const auto& book : books) {
            table->append();
            table->setText(Field::Titolo, QString::fromLatin1(book[0]));
            table->setText(Field::Lingua, QString::fromLatin1(book[1]));
            table->setText(Field::Prezzo, QString::fromLatin1(book[2]));
            table->post();
        }
        view = std::make_unique<BandedTableView>(*table);
        const int band = view->layout().addBand({QString(), 400, false});
        int position = 0;
        for (const auto& [field, caption] : {std::pair {Field::Titolo, "Titolo"},
                 {Field::Lingua, "Lingua"}, {Field::Prezzo, "Prezzo"}}) {
            GridColumn c;
            c.field = field;
            c.caption = QString::fromLatin1(caption);
            c.band = band;
            c.position = position++;
            view->layout().addColumn(c);
        }
        grid = std::make_unique<BandedGrid>(*view);
        grid->resize(600, 400);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }

    void cleanup()
    {
        grid.reset();
        view.reset();
        table.reset();
    }

    void dropDownListsTheSpecialEntriesThenTheValues()
    {
        grid->openFilterDropDown(column(Field::Lingua));
        FilterDropDown* list = dropDown();
        QVERIFY(list && list->isVisible());
        QStringList entries;
        for (int row = 0; row < list->list()->model()->rowCount(); ++row)
            entries << list->list()->model()->index(row, 0).data().toString();
        QCOMPARE(entries,
            (QStringList {u"(All)"_qs, u"(Custom...)"_qs, u"(Blanks)"_qs, u"(NonBlanks)"_qs,
                u"INGLESE"_qs, u"ITALIANO"_qs}));
        // Picking with the keyboard: down to "INGLESE" and Enter.
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(list->list(), Qt::Key_Down);
        QTest::keyClick(list->list(), Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QCOMPARE(shownTitles(), QStringList {u"BETA"_qs});
    }

    void picksBecomeConditionsShownInTheFilterBar()
    {
        using Kind = ColumnFilterPick::Kind;
        GridFilter& filter = grid->filter();
        filter.applyPick(column(Field::Lingua), {Kind::Value, u"ITALIANO"_qs});
        QCOMPARE(shownTitles(), (QStringList {u"ALFA"_qs, u"DELTA"_qs}));
        QVERIFY(grid->filterBar()->isVisible());
        QCOMPARE(grid->filterBar()->textLabel()->text(), u"Lingua equals 'ITALIANO'"_qs);

        filter.applyPick(column(Field::Prezzo), {Kind::Blanks, QString()});
        QCOMPARE(shownTitles(), QStringList {u"DELTA"_qs});
        QCOMPARE(grid->filterBar()->textLabel()->text(),
            u"Lingua equals 'ITALIANO' and Prezzo is blank"_qs);

        filter.applyPick(column(Field::Lingua), {Kind::NonBlanks, QString()});
        filter.applyPick(column(Field::Prezzo), {Kind::All, QString()});
        QCOMPARE(shownTitles(), (QStringList {u"ALFA"_qs, u"BETA"_qs, u"DELTA"_qs}));

        filter.applyPick(column(Field::Prezzo), {Kind::Value, u"5,00"_qs});
        QCOMPARE(shownTitles(), QStringList {u"BETA"_qs});

        // The bar's box switches the filter off and on again.
        grid->filterBar()->enabledBox()->click();
        QCOMPARE(view->dataRowCount(), 4);
        grid->filterBar()->enabledBox()->click();
        QCOMPARE(shownTitles(), QStringList {u"BETA"_qs});

        filter.applyPick(column(Field::Lingua), {Kind::All, QString()});
        filter.applyPick(column(Field::Prezzo), {Kind::All, QString()});
        QVERIFY(!view->hasFilter());
        QVERIFY(!grid->filterBar()->isVisible());
    }

    // "(Custom...)" opens the custom filter dialog of the column, or the
    // filter builder when the column's filter is more than it can show.
    void customOpensTheRightDialog()
    {
        GridFilter& filter = grid->filter();
        QStringList opened;
        filter.setDialogHook([&](QDialog& dialog) {
            opened << QString::fromLatin1(dialog.metaObject()->className());
            QTimer::singleShot(0, &dialog, &QDialog::reject);
        });
        filter.applyPick(column(Field::Lingua), {ColumnFilterPick::Kind::Custom, QString()});
        FilterGroup threeConditions;
        for (const char* value : {"A", "B", "C"}) {
            threeConditions.items.push_back(FilterCondition {
                Field::Lingua, FilterOperator::NotEqual, {QString::fromLatin1(value)}});
        }
        filter.setFilter(withColumnFilter({}, Field::Lingua, threeConditions));
        filter.applyPick(column(Field::Lingua), {ColumnFilterPick::Kind::Custom, QString()});
        QCOMPARE(opened, (QStringList {u"CustomFilterDialog"_qs, u"FilterBuilderDialog"_qs}));
    }

    void customizeOnTheBarOpensTheBuilderAndApplies()
    {
        GridFilter& filter = grid->filter();
        filter.applyPick(column(Field::Lingua), {ColumnFilterPick::Kind::Value, u"ITALIANO"_qs});
        filter.setDialogHook([&](QDialog& dialog) {
            auto& builder = static_cast<FilterBuilderDialog&>(dialog);
            QCOMPARE(builder.filter(), filter.filter());
            QTimer::singleShot(0, &dialog, [&builder] {
                FilterExpression wider;
                wider.root.items.push_back(
                    FilterCondition {Field::Prezzo, FilterOperator::Greater, {6.0}});
                builder.setFilter(wider);
                builder.accept();
            });
        });
        grid->filterBar()->customizeButton()->click();
        QCOMPARE(shownTitles(), (QStringList {u"ALFA"_qs, u"GAMMA"_qs}));
    }

    void rowsChangedLaterFollowTheFilter()
    {
        grid->filter().applyPick(
            column(Field::Lingua), {ColumnFilterPick::Kind::Value, u"INGLESE"_qs});
        table->moveTo(0);
        table->edit();
        table->setText(Field::Lingua, u"INGLESE"_qs);
        table->post();
        QCOMPARE(shownTitles(), (QStringList {u"ALFA"_qs, u"BETA"_qs}));
    }
};

QTEST_MAIN(GridFilterTest)

#include "gridfilter_test.moc"
