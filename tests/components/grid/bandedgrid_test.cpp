#include "bandedgrid.h"
#include "bandedtableview.h"
#include "catalogtable.h"
#include "platformfonts.h"
#include "testenvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

class BandedGridTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CatalogueTable> table;
    std::unique_ptr<BandedTableView> view;
    std::unique_ptr<BandedGrid> grid;

    int column(Field field) const { return view->layout().columnOf(field); }
    QString currentTitle() const { return table->displayText(Field::Titolo); }
    QPoint headerCentre(Field field) const
    {
        return grid->gridGeometry().columnHeaderRect(column(field)).center() - QPoint(8, 0);
    }

private slots:
    void initTestCase()
    {
        TestEnvironment::pin();
        installFontSubstitutions();
    }

    void init()
    {
        table = std::make_unique<CatalogueTable>(RegionalSettings::italian());
        table->open();
        const char* books[][3] = {{"ALFA", "ROSSI", "ITALIANO"}, {"BETA", "BIANCHI", "INGLESE"},
            {"GAMMA", "ROSSI", "ITALIANO"}, {"DELTA", "VERDI", "FRANCESE"}};
        for (const auto& book : books) {
            table->append();
            table->setText(Field::Titolo, QString::fromLatin1(book[0]));
            table->setText(Field::Autore, QString::fromLatin1(book[1]));
            table->setText(Field::Lingua, QString::fromLatin1(book[2]));
            table->post();
        }
        table->first();
        view = std::make_unique<BandedTableView>(*table);
        const int band = view->layout().addBand({QStringLiteral("Libri"), 500, true});
        int position = 0;
        for (const auto& [field, caption] : {std::pair {Field::Titolo, "Titolo"},
                 {Field::Autore, "Autore"}, {Field::Lingua, "Lingua"}}) {
            GridColumn c;
            c.field = field;
            c.caption = QString::fromLatin1(caption);
            c.band = band;
            c.position = position++;
            c.width = 150;
            view->layout().addColumn(c);
        }
        grid = std::make_unique<BandedGrid>(*view);
        grid->resize(700, 400);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        grid->setFocus();
    }

    void cleanup()
    {
        grid.reset();
        view.reset();
        table.reset();
    }

    void keysMoveTheFocusAndTheCursor()
    {
        QCOMPARE(view->focusedRow(), 0);
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QCOMPARE(currentTitle(), u"BETA"_qs);
        QTest::keyClick(grid.get(), Qt::Key_End);
        QCOMPARE(currentTitle(), u"GAMMA"_qs);
        QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(currentTitle(), u"ALFA"_qs);
        QTest::keyClick(grid.get(), Qt::Key_PageDown);
        QCOMPARE(currentTitle(), u"GAMMA"_qs);
        QTest::keyClick(grid.get(), Qt::Key_Up);
        QCOMPARE(currentTitle(), u"DELTA"_qs);
        // Insert does nothing.
        QTest::keyClick(grid.get(), Qt::Key_Insert);
        QCOMPARE(table->recordCount(), 4);
        QCOMPARE(table->state(), CatalogueTable::State::Browse);
    }

    void copiesTheFocusedRow()
    {
        table->moveTo(3);
        for (const auto& [key, modifiers] :
            {std::pair {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ControlModifier}}) {
            QGuiApplication::clipboard()->clear();
            QTest::keyClick(grid.get(), key, modifiers);
            QCOMPARE(QGuiApplication::clipboard()->text(), u"GAMMA\tROSSI\tITALIANO"_qs);
        }
    }

    void leftAndRightCollapseAndExpandGroups()
    {
        view->groupBy(column(Field::Lingua));
        grid->setFocus();
        QCOMPARE(view->rowCount(), 6); // three collapsed groups with footers
        view->setFocusedRow(4); // the group of ITALIANO
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QVERIFY(view->group(view->row(4).group).expanded);
        QCOMPARE(view->rowCount(), 8);
        QTest::keyClick(grid.get(), Qt::Key_Left);
        QVERIFY(!view->group(view->row(4).group).expanded);
    }

    void headerClicksSortAscendingThenDescending()
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, headerCentre(Field::Autore));
        QCOMPARE(view->sortOrder(column(Field::Autore)), SortOrder::Ascending);
        QCOMPARE(table->displayText(view->row(0).row, Field::Titolo), u"BETA"_qs);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, headerCentre(Field::Autore));
        QCOMPARE(view->sortOrder(column(Field::Autore)), SortOrder::Descending);
        QCOMPARE(table->displayText(view->row(0).row, Field::Titolo), u"DELTA"_qs);
        // The table keeps its own order.
        QCOMPARE(table->displayText(table->rowAt(0), Field::Titolo), u"ALFA"_qs);
    }

    void draggingAHeaderIntoTheBoxGroupsAndBackUngroups()
    {
        QWidget* viewport = grid->viewport();
        const QPoint from = headerCentre(Field::Lingua);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from - QPoint(0, 30));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(from.x(), 10));
        QCOMPARE(view->groupedColumns(), std::vector<int> {column(Field::Lingua)});
        QVERIFY(grid->gridGeometry().columnHeaderRect(column(Field::Lingua)).isEmpty());

        const QPoint button(20, 14);
        QTest::mousePress(viewport, Qt::LeftButton, {}, button);
        QTest::mouseMove(viewport, button + QPoint(0, 40));
        QTest::mouseRelease(viewport, Qt::LeftButton, {},
            grid->gridGeometry().columnHeaderRect(column(Field::Titolo)).center());
        QVERIFY(view->groupedColumns().empty());
        QVERIFY(!grid->gridGeometry().columnHeaderRect(column(Field::Lingua)).isEmpty());
    }

    void doubleClickOnABookDoesNothing()
    {
        const QPoint secondBook(100, grid->rowTop(1) + 5);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, secondBook);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, secondBook);
        QCOMPARE(table->recordCount(), 4);
        QCOMPARE(table->state(), CatalogueTable::State::Browse);
        QCOMPARE(currentTitle(), u"BETA"_qs);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The focused row is highlighted only while the grid has the focus.
    void highlightOnlyWithFocus()
    {
        const QPoint inFirstRow(100, grid->rowTop(0) + 5);
        const QColor highlight = grid->palette().color(QPalette::Highlight);
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        QCOMPARE(grid->viewport()->grab().toImage().pixelColor(inFirstRow), highlight);
        grid->clearFocus();
        QVERIFY(!grid->hasFocus());
        QVERIFY(grid->viewport()->grab().toImage().pixelColor(inFirstRow) != highlight);
    }
};

QTEST_MAIN(BandedGridTest)

#include "bandedgrid_test.moc"
