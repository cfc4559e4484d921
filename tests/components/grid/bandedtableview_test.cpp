#include "bandedtableview.h"
#include "catalogfixture.h"

#include <QSignalSpy>

#include <string>

namespace {

struct Book
{
    const char* titolo;
    const char* autore;
    const char* lingua;
    const char* formato;
    const char* prezzo;
};

const Book books[] = {
    {"ALFA", "ROSSI", "ITALIANO", "CARTACEO", "10"},
    {"BETA", "BIANCHI", "INGLESE", "E-BOOK", "5"},
    {"GAMMA", "ROSSI", "ITALIANO", "E-BOOK", ""},
    {"DELTA", "VERDI", "FRANCESE", "CARTACEO", "20"},
    {"EPSILON", "BIANCHI", "ITALIANO", "CARTACEO", "7"},
};

} // namespace

class BandedTableViewTest : public CatalogueFixture
{
protected:
    BandedTableViewTest()
    {
        for (const Book& book : books) {
            addBook({{Field::Titolo, QString::fromLatin1(book.titolo)},
                {Field::Autore, QString::fromLatin1(book.autore)},
                {Field::Lingua, QString::fromLatin1(book.lingua)},
                {Field::Formato, QString::fromLatin1(book.formato)},
                {Field::Prezzo, QString::fromLatin1(book.prezzo)}});
        }
        view = std::make_unique<BandedTableView>(table);
        GridLayout& layout = view->layout();
        const int band = layout.addBand({QString(), 600, false});
        int position = 0;
        for (const auto& [field, caption] : {std::pair {Field::Titolo, "Titolo"},
                 {Field::Autore, "Autore"}, {Field::Lingua, "Lingua"}, {Field::Formato, "Formato"},
                 {Field::Prezzo, "Prezzo"}}) {
            GridColumn column;
            column.field = field;
            column.caption = QString::fromLatin1(caption);
            column.band = band;
            column.position = position++;
            layout.addColumn(column);
        }
    }

    int column(Field field) const { return view->layout().columnOf(field); }

    // The shown rows: "Lingua : INGLESE" for a group row, "/0" for the
    // footer of a level-0 group, the title for a book.
    std::vector<std::string> shown() const
    {
        std::vector<std::string> rows;
        for (int i = 0; i < view->rowCount(); ++i) {
            const BandedTableView::Row row = view->row(i);
            switch (row.kind) {
            case BandedTableView::Row::Kind::Group:
                rows.push_back(view->groupText(row.group).toStdString());
                break;
            case BandedTableView::Row::Kind::GroupFooter:
                rows.push_back("/" + std::to_string(row.level));
                break;
            case BandedTableView::Row::Kind::Data:
                rows.push_back(table.displayText(row.row, Field::Titolo).toStdString());
                break;
            }
        }
        return rows;
    }

    int groupNamed(const std::string& text) const
    {
        for (int g = 0; g < view->groupCount(); ++g) {
            if (view->groupText(g).toStdString() == text)
                return g;
        }
        return -1;
    }

    void editBook(const char* title, Field field, const QString& text)
    {
        table.moveToRow(bookNamed(title));
        table.edit();
        table.setText(field, text);
        table.post();
    }

    RowId bookNamed(const char* title) const
    {
        for (int i = 0; i < table.recordCount(); ++i) {
            if (table.displayText(table.rowAt(i), Field::Titolo) == QLatin1String(title))
                return table.rowAt(i);
        }
        return NoRow;
    }

    std::unique_ptr<BandedTableView> view;
};

using Strings = std::vector<std::string>;

TEST_F(BandedTableViewTest, ShowsTheTableInItsOrder)
{
    EXPECT_EQ(shown(), (Strings {"ALFA", "BETA", "DELTA", "EPSILON", "GAMMA"}));
}

TEST_F(BandedTableViewTest, SortsByAColumnAndKeepsTheTableOrderForEqualValues)
{
    const struct
    {
        Field field;
        SortOrder order;
        Strings titles;
    } cases[] = {
        {Field::Autore, SortOrder::Ascending, {"BETA", "EPSILON", "ALFA", "GAMMA", "DELTA"}},
        {Field::Autore, SortOrder::Descending, {"DELTA", "ALFA", "GAMMA", "BETA", "EPSILON"}},
        // The book without a price comes first.
        {Field::Prezzo, SortOrder::Ascending, {"GAMMA", "BETA", "EPSILON", "ALFA", "DELTA"}},
        {Field::Prezzo, SortOrder::Descending, {"DELTA", "ALFA", "EPSILON", "BETA", "GAMMA"}},
        {Field::Titolo, SortOrder::Descending, {"GAMMA", "EPSILON", "DELTA", "BETA", "ALFA"}},
    };
    for (const auto& c : cases) {
        view->sortBy(column(c.field), c.order);
        EXPECT_EQ(shown(), c.titles) << index(c.field);
    }
    view->sortBy(column(Field::Autore), SortOrder::None);
    EXPECT_EQ(shown(), (Strings {"ALFA", "BETA", "DELTA", "EPSILON", "GAMMA"}));
}

TEST_F(BandedTableViewTest, HeaderClicksSortAscendingThenDescending)
{
    const int autore = column(Field::Autore);
    view->toggleSort(autore);
    EXPECT_EQ(view->sortOrder(autore), SortOrder::Ascending);
    view->toggleSort(autore);
    EXPECT_EQ(view->sortOrder(autore), SortOrder::Descending);
    view->toggleSort(column(Field::Prezzo)); // another column takes over
    EXPECT_EQ(view->sortOrder(autore), SortOrder::None);
    EXPECT_EQ(table.displayText(table.rowAt(0), Field::Titolo), QStringLiteral("ALFA"));
}

// Groups start collapsed; each shows its row and its footer.
TEST_F(BandedTableViewTest, GroupsWithFootersAlsoWhenCollapsed)
{
    view->groupBy(column(Field::Lingua));
    EXPECT_EQ(shown(),
        (Strings {"Lingua : FRANCESE", "/0", "Lingua : INGLESE", "/0", "Lingua : ITALIANO", "/0"}));
    view->setExpanded(groupNamed("Lingua : ITALIANO"), true);
    EXPECT_EQ(shown(),
        (Strings {"Lingua : FRANCESE", "/0", "Lingua : INGLESE", "/0", "Lingua : ITALIANO", "ALFA",
            "EPSILON", "GAMMA", "/0"}));
    EXPECT_TRUE(view->layout().isGrouped(column(Field::Lingua)));
    view->ungroup(column(Field::Lingua));
    EXPECT_FALSE(view->layout().isGrouped(column(Field::Lingua)));
    EXPECT_EQ(view->rowCount(), 5);
}

TEST_F(BandedTableViewTest, NestedGroupsCloseDeepestFirst)
{
    view->groupBy(column(Field::Lingua));
    view->groupBy(column(Field::Formato));
    view->sortBy(column(Field::Autore), SortOrder::Descending);
    view->expandAll();
    EXPECT_EQ(shown(),
        (Strings {"Lingua : FRANCESE", "Formato : CARTACEO", "DELTA", "/1", "/0",
            "Lingua : INGLESE", "Formato : E-BOOK", "BETA", "/1", "/0", "Lingua : ITALIANO",
            "Formato : CARTACEO", "ALFA", "EPSILON", "/1", "Formato : E-BOOK", "GAMMA", "/1",
            "/0"}));
    // A collapsed outer group hides its inner groups, not its own footer.
    view->setExpanded(groupNamed("Lingua : ITALIANO"), false);
    const Strings collapsed = shown();
    EXPECT_EQ(Strings(collapsed.end() - 2, collapsed.end()), (Strings {"Lingua : ITALIANO", "/0"}));
    // Expanded groups stay so through a new sort.
    view->sortBy(column(Field::Prezzo), SortOrder::Ascending);
    EXPECT_EQ(shown()[2], "DELTA");
    EXPECT_EQ(view->groupCount(), 7);
    EXPECT_EQ(view->group(0).level, 0);
    EXPECT_EQ(view->group(1).level, 1);
}

TEST_F(BandedTableViewTest, GroupOrderCanBeReversed)
{
    view->groupBy(column(Field::Lingua));
    view->toggleGroupOrder(column(Field::Lingua));
    EXPECT_EQ(shown().front(), "Lingua : ITALIANO");
}

TEST_F(BandedTableViewTest, FilterHidesRowsAndCanBeSwitchedOff)
{
    const int autore = column(Field::Autore);
    view->setFilter(
        [&](RowId row) { return view->cellText(row, autore) == QStringLiteral("ROSSI"); },
        QStringLiteral("Autore = ROSSI"));
    EXPECT_EQ(shown(), (Strings {"ALFA", "GAMMA"}));
    view->setFilterEnabled(false);
    EXPECT_EQ(view->rowCount(), 5);
    EXPECT_TRUE(view->hasFilter());
    view->setFilterEnabled(true);
    view->groupBy(column(Field::Lingua));
    view->expandAll();
    EXPECT_EQ(shown(), (Strings {"Lingua : ITALIANO", "ALFA", "GAMMA", "/0"}));
    view->clearFilter();
    EXPECT_FALSE(view->hasFilter());
    EXPECT_EQ(view->dataRowCount(), 5);
}

// Stored, changed and deleted books take their place at once.
TEST_F(BandedTableViewTest, FollowsChangesWhileSortedGroupedAndFiltered)
{
    const int autore = column(Field::Autore);
    view->groupBy(column(Field::Lingua));
    view->sortBy(autore, SortOrder::Ascending);
    view->setFilter([&](RowId row) { return !view->cellText(row, autore).startsWith(u'V'); },
        QStringLiteral("not V"));
    view->expandAll();
    EXPECT_EQ(shown(),
        (Strings {"Lingua : INGLESE", "BETA", "/0", "Lingua : ITALIANO", "EPSILON", "ALFA", "GAMMA",
            "/0"}));

    addBook({{Field::Titolo, QStringLiteral("ZETA")}, {Field::Autore, QStringLiteral("ARIOSTO")},
        {Field::Lingua, QStringLiteral("ITALIANO")}});
    EXPECT_EQ(shown()[4], "ZETA");

    editBook("BETA", Field::Lingua, QStringLiteral("TEDESCO")); // a new group
    EXPECT_EQ(shown(),
        (Strings {"Lingua : ITALIANO", "ZETA", "EPSILON", "ALFA", "GAMMA", "/0", "Lingua : TEDESCO",
            "/0"}));
    view->setExpanded(groupNamed("Lingua : TEDESCO"), true);

    editBook("DELTA", Field::Autore, QStringLiteral("ALIGHIERI")); // now let through
    EXPECT_EQ(shown()[0], "Lingua : FRANCESE");
    EXPECT_EQ(view->group(0).expanded, false);

    editBook("ALFA", Field::Autore, QStringLiteral("VOLPI")); // now filtered out
    table.moveToRow(bookNamed("BETA"));
    table.remove(); // its group goes
    EXPECT_EQ(shown(),
        (Strings {
            "Lingua : FRANCESE", "/0", "Lingua : ITALIANO", "ZETA", "EPSILON", "GAMMA", "/0"}));

    // A new title changes the table's order, and the order of equal authors.
    editBook("GAMMA", Field::Autore, QStringLiteral("BIANCHI"));
    editBook("GAMMA", Field::Titolo, QStringLiteral("AAA"));
    EXPECT_EQ(shown(),
        (Strings {"Lingua : FRANCESE", "/0", "Lingua : ITALIANO", "ZETA", "AAA", "EPSILON", "/0"}));
}

TEST_F(BandedTableViewTest, NewTextValueBetweenKnownOnesSortsInPlace)
{
    view->sortBy(column(Field::Autore), SortOrder::Ascending);
    addBook(
        {{Field::Titolo, QStringLiteral("OMEGA")}, {Field::Autore, QStringLiteral("PIRANDELLO")}});
    addBook(
        {{Field::Titolo, QStringLiteral("PSI")}, {Field::Autore, QStringLiteral("pirandello")}});
    EXPECT_EQ(shown(), (Strings {"BETA", "EPSILON", "PSI", "OMEGA", "ALFA", "GAMMA", "DELTA"}));
    view->sortBy(column(Field::Autore), SortOrder::Descending);
    EXPECT_EQ(shown(), (Strings {"DELTA", "ALFA", "GAMMA", "OMEGA", "PSI", "BETA", "EPSILON"}));
}

TEST_F(BandedTableViewTest, FocusFollowsTheCursorBothWays)
{
    QSignalSpy focusChanges(view.get(), &BandedTableView::focusChanged);
    table.moveToRow(bookNamed("DELTA"));
    EXPECT_EQ(view->focusedRow(), 2);
    EXPECT_GE(focusChanges.size(), 1);

    view->sortBy(column(Field::Autore), SortOrder::Descending);
    EXPECT_EQ(view->focusedRow(), 0);
    view->setFocusedRow(3);
    EXPECT_EQ(table.currentRow(), bookNamed("BETA"));

    // A book in a collapsed group: the focus is on its group row.
    view->groupBy(column(Field::Lingua));
    EXPECT_EQ(view->focusedRow(), 2);
    EXPECT_EQ(view->row(2).kind, BandedTableView::Row::Kind::Group);

    // A focused group row keeps the focus through expanding, and leaves the
    // cursor alone, until the cursor moves.
    view->setFocusedRow(0);
    EXPECT_EQ(table.currentRow(), bookNamed("BETA"));
    view->setExpanded(view->row(0).group, true);
    EXPECT_EQ(view->focusedRow(), 0);
    table.moveToRow(bookNamed("ALFA"));
    EXPECT_EQ(view->row(view->focusedRow()).kind, BandedTableView::Row::Kind::Group);
    EXPECT_EQ(
        view->groupText(view->row(view->focusedRow()).group), QStringLiteral("Lingua : ITALIANO"));

    // A filtered-out current book: no focused row.
    view->setFilter([&](RowId row) { return row != bookNamed("ALFA"); }, QString());
    EXPECT_EQ(view->focusedRow(), -1);
}

TEST_F(BandedTableViewTest, EmptyCatalogue)
{
    table.close();
    table.open();
    EXPECT_EQ(view->rowCount(), 0);
    EXPECT_EQ(view->focusedRow(), -1);
    view->groupBy(column(Field::Lingua));
    view->sortBy(column(Field::Autore), SortOrder::Ascending);
    EXPECT_EQ(view->rowCount(), 0);
    EXPECT_TRUE(view->distinctValues(column(Field::Lingua)).isEmpty());
}

TEST_F(BandedTableViewTest, DistinctValuesInTheColumnsOrder)
{
    EXPECT_EQ(view->distinctValues(column(Field::Lingua)),
        (QStringList {
            QStringLiteral("FRANCESE"), QStringLiteral("INGLESE"), QStringLiteral("ITALIANO")}));
    EXPECT_EQ(view->distinctValues(column(Field::Prezzo)),
        (QStringList {QStringLiteral("5,00"), QStringLiteral("7,00"), QStringLiteral("10,00"),
            QStringLiteral("20,00")}));
}

TEST_F(BandedTableViewTest, ReloadedTableIsShownAnew)
{
    view->sortBy(column(Field::Autore), SortOrder::Ascending);
    table.loadFromBytes("titolo\tautore\r\nUNO\tZ\r\nDUE\tA\r\n");
    EXPECT_EQ(shown(), (Strings {"DUE", "UNO"}));
}

// After any series of changes, the view shows what a view made afresh shows.
TEST_F(BandedTableViewTest, ChangesKeepTheSameRowsAsAFreshView)
{
    const char* languages[] = {"ITALIANO", "INGLESE", "FRANCESE", "TEDESCO"};
    const char* formats[] = {"CARTACEO", "E-BOOK", "CD"};
    const char* authors[] = {"ROSSI", "BIANCHI", "VERDI", "NERI", "ROSSI"};
    auto configure = [&](BandedTableView& v) {
        if (&v != view.get()) {
            const int band = v.layout().addBand({QString(), 600, false});
            for (const GridColumn& c : view->layout().columns()) {
                GridColumn copy = c;
                copy.band = band;
                v.layout().addColumn(copy);
            }
        }
        v.groupBy(column(Field::Lingua));
        v.groupBy(column(Field::Formato));
        v.sortBy(column(Field::Autore), SortOrder::Descending);
        v.setFilter(
            [this](RowId row) {
                return table.displayText(row, Field::Autore) != QStringLiteral("NERI");
            },
            QString());
    };
    configure(*view);
    view->expandAll();
    uint32_t seed = 7;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % uint32_t(n));
    };
    for (int step = 0; step < 300; ++step) {
        const int action = next(3);
        if (action == 0 || table.recordCount() < 3) {
            addBook({{Field::Titolo, QStringLiteral("T%1").arg(next(50))},
                {Field::Autore, QString::fromLatin1(authors[next(5)])},
                {Field::Lingua, QString::fromLatin1(languages[next(4)])},
                {Field::Formato, QString::fromLatin1(formats[next(3)])}});
        } else if (action == 1) {
            table.moveTo(next(table.recordCount()));
            table.edit();
            const Field field = std::array {
                Field::Titolo, Field::Autore, Field::Lingua, Field::Formato}[std::size_t(next(4))];
            table.setText(field,
                field == Field::Titolo       ? QStringLiteral("T%1").arg(next(50))
                    : field == Field::Autore ? QString::fromLatin1(authors[next(5)])
                    : field == Field::Lingua ? QString::fromLatin1(languages[next(4)])
                                             : QString::fromLatin1(formats[next(3)]));
            table.post();
        } else {
            table.moveTo(next(table.recordCount()));
            table.remove();
        }
        // New groups open collapsed: compare with every group expanded.
        view->expandAll();
        BandedTableView fresh(table);
        configure(fresh);
        fresh.expandAll();
        ASSERT_EQ(view->rowCount(), fresh.rowCount()) << "step " << step;
        for (int i = 0; i < fresh.rowCount(); ++i) {
            const BandedTableView::Row a = view->row(i), b = fresh.row(i);
            ASSERT_EQ(int(a.kind), int(b.kind)) << "step " << step << " row " << i;
            ASSERT_EQ(a.level, b.level) << "step " << step << " row " << i;
            ASSERT_EQ(a.row, b.row) << "step " << step << " row " << i;
            if (a.kind == BandedTableView::Row::Kind::Group) {
                ASSERT_EQ(view->groupText(a.group), fresh.groupText(b.group)) << "step " << step;
            }
        }
    }
}
