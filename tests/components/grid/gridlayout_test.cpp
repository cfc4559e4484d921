#include "gridlayout.h"

#include <gtest/gtest.h>

namespace {

// Two bands like the main window's: a fixed one of 339 pixels with code and
// title over the author, and one of 1239 with seven columns over three.
GridLayout mainLikeLayout()
{
    GridLayout layout;
    const int fixed = layout.addBand({QString(), 339, true});
    const int details = layout.addBand({QStringLiteral("Dettagli"), 1239, false});
    auto add = [&](Field field, int band, int row, int position, int width) {
        GridColumn c;
        c.field = field;
        c.band = band;
        c.row = row;
        c.position = position;
        c.width = width;
        return layout.addColumn(c);
    };
    add(Field::Barcode, fixed, 0, 1, 119);
    add(Field::Titolo, fixed, 0, 2, 220);
    add(Field::Autore, fixed, 1, 0, 118);
    add(Field::AnnoPubblicazione, details, 0, 0, 78);
    add(Field::Formato, details, 0, 1, 104);
    add(Field::NPagine, details, 0, 2, 79);
    add(Field::Lingua, details, 0, 3, 97);
    add(Field::Prezzo, details, 0, 4, 69);
    add(Field::Costo, details, 0, 5, 65);
    add(Field::Note, details, 0, 7, 747);
    add(Field::Argomento, details, 1, 0, 182);
    add(Field::Collana, details, 1, 1, 176);
    add(Field::Casaedi, details, 1, 2, 881);
    return layout;
}

std::vector<int> rights(const std::vector<PlacedColumn>& line)
{
    std::vector<int> result;
    for (const PlacedColumn& placed : line)
        result.push_back(placed.left + placed.width);
    return result;
}

} // namespace

TEST(GridLayout, BandRowsStretchToTheirBand)
{
    const GridLayout layout = mainLikeLayout();
    EXPECT_EQ(rights(layout.headerLine(0)),
        (std::vector<int> {119, 339, 417, 521, 600, 697, 766, 831, 1578}));
    EXPECT_EQ(rights(layout.headerLine(1)), (std::vector<int> {339, 521, 697, 1578}));
}

// A row that loses a column shares the band in proportion, rounding half up,
// the rest to its last column.
TEST(GridLayout, GroupedColumnLeavesItsRow)
{
    GridLayout layout = mainLikeLayout();
    layout.setGrouped(layout.columnOf(Field::Formato), true);
    const std::vector<PlacedColumn> line = layout.headerLine(0);
    std::vector<int> widths;
    for (const PlacedColumn& placed : line)
        widths.push_back(placed.width);
    // 78, 79, 97, 69, 65 and 747 share 1239 instead of 1135.
    EXPECT_EQ(widths, (std::vector<int> {119, 220, 85, 86, 106, 75, 71, 816}));
    layout.setGrouped(layout.columnOf(Field::Formato), false);
    EXPECT_EQ(rights(layout.headerLine(0)).back(), 1578);
}

TEST(GridLayout, MovingAColumnToAnotherRow)
{
    GridLayout layout = mainLikeLayout();
    const int note = layout.columnOf(Field::Note);
    layout.moveColumn(note, 1, 1, 0);
    std::vector<Field> row1;
    for (const int c : layout.rowColumns(1, 1))
        row1.push_back(layout.column(c).field);
    EXPECT_EQ(
        row1, (std::vector<Field> {Field::Note, Field::Argomento, Field::Collana, Field::Casaedi}));
    EXPECT_EQ(layout.rowColumns(1, 0).size(), 6u);
    EXPECT_EQ(rights(layout.headerLine(0)).back(), 1578);
}

TEST(GridLayout, ResizingAColumnMovesItsNeighbourOrItsBand)
{
    GridLayout layout = mainLikeLayout();
    layout.resizeColumn(layout.columnOf(Field::Barcode), 150);
    EXPECT_EQ(rights(layout.headerLine(0)).front(), 150);
    EXPECT_EQ(rights(layout.headerLine(0))[1], 339); // the title gave 31 pixels

    layout.resizeColumn(layout.columnOf(Field::Note), 800); // last of its row
    EXPECT_EQ(layout.band(1).width, 1292);
    EXPECT_EQ(rights(layout.headerLine(0)).back(), 339 + 1292);
    EXPECT_EQ(rights(layout.headerLine(1)).back(), 339 + 1292); // the other row stretches too
}

TEST(GridLayout, FixedBandsStayFirst)
{
    GridLayout layout = mainLikeLayout();
    layout.moveBand(1, 0);
    EXPECT_EQ(layout.bandOrder(), (std::vector<int> {0, 1}));
    const int third = layout.addBand({QStringLiteral("Altro"), 100, false});
    layout.moveBand(third, 1);
    EXPECT_EQ(layout.bandOrder(), (std::vector<int> {0, third, 1}));
    EXPECT_EQ(layout.bandLeft(1), 439);
}
