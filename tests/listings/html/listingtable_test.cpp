#include "error.h"
#include "listingtable.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ListingTable, NewTableHasEmptyCellsOfTheDefaultStyle)
{
    const ListingTable table({119, 220, 78}, 2);
    EXPECT_EQ(table.columnCount(), 3);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.columnWidths(), (std::vector<int> {119, 220, 78}));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(table.cell(column, row), ListingCell {}) << column << "," << row;
    }
}

TEST(ListingTable, ColumnWidthCanBeChanged)
{
    ListingTable table({119, 220}, 1);
    table.setColumnWidth(0, 17);
    EXPECT_EQ(table.columnWidth(0), 17);
    EXPECT_EQ(table.columnWidth(1), 220);
}

TEST(ListingTable, BlockGivesItsHeadTheTextAndCoversTheRest)
{
    ListingTable table({10, 10, 10, 10}, 3);
    table.setStyleNumber(2, 2, 7);
    table.placeBlock(1, 1, 2, 2, 4, u"Casa editrice");

    EXPECT_EQ(table.cell(1, 1), (ListingCell {QStringLiteral("Casa editrice"), 4, 2, 2, false}));
    // The covered cells keep their own style numbers.
    EXPECT_EQ(table.cell(2, 1), (ListingCell {{}, -1, 1, 1, true}));
    EXPECT_EQ(table.cell(1, 2), (ListingCell {{}, -1, 1, 1, true}));
    EXPECT_EQ(table.cell(2, 2), (ListingCell {{}, 7, 1, 1, true}));
    // Cells outside the block are untouched.
    for (const auto& [column, row] : {std::pair {0, 1}, {3, 1}, {1, 0}, {0, 2}, {3, 2}})
        EXPECT_EQ(table.cell(column, row), ListingCell {}) << column << "," << row;

    table.setStyleNumber(2, 1, 9);
    EXPECT_EQ(table.styleNumber(2, 1), 9);
    EXPECT_TRUE(table.isCovered(2, 1));
}

TEST(ListingTable, PlacingAgainReplacesTextStyleAndSpans)
{
    ListingTable table({10, 10}, 1);
    table.placeBlock(0, 0, 2, 1, 3, u"prima");
    table.placeBlock(0, 0, 1, 1, 5, u"");
    EXPECT_EQ(table.cell(0, 0), (ListingCell {{}, 5, 1, 1, false}));
}

TEST(ListingTable, TextsKeepLettersOfTheCodePageAndLineBreaks)
{
    const QString texts[] = {
        QStringLiteral("Città, perché già così"),
        QStringLiteral("riga uno\r\nriga due\nriga tre\r"),
        QStringLiteral("€ – “virgolette” ÿ"),
        QString(300, u'x'), // longer than one byte of length
        QString(70000, u'é'),
    };
    ListingTable table({10}, 5);
    for (int row = 0; row < 5; ++row)
        table.placeBlock(0, row, 1, 1, 0, texts[row]);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(table.cell(0, row).text, texts[row]) << row;
    EXPECT_EQ(table.textBytes(0, 0), QByteArrayView("Citt\xE0, perch\xE9 gi\xE0 cos\xEC"));
}

TEST(ListingTable, BlockFromCodePageBytes)
{
    ListingTable table({10, 10}, 1);
    table.placeBlockBytes(0, 0, 2, 1, 1, QByteArrayView("Libert\xE0"));
    EXPECT_EQ(table.cell(0, 0), (ListingCell {QStringLiteral("Libertà"), 1, 2, 1, false}));
    EXPECT_TRUE(table.isCovered(1, 0));
}

TEST(ListingTable, BlocksOutsideTheTableAreRefused)
{
    struct Case
    {
        int column, row, columnSpan, rowSpan;
    };
    const Case cases[] = {
        {0, 0, 0, 1},
        {0, 0, 1, 0},
        {0, 0, -1, 1},
        {0, 0, 1, -2},
        {2, 0, 2, 1}, // one column too far
        {0, 1, 1, 2}, // one row too far
        {3, 0, 1, 1},
        {0, 2, 1, 1},
        {-1, 0, 2, 1},
        {0, -1, 1, 2},
        {1, 0, INT_MAX, 1},
        {0, 1, 1, INT_MAX},
    };
    for (const Case& c : cases) {
        ListingTable table({10, 10, 10}, 2);
        try {
            table.placeBlock(c.column, c.row, c.columnSpan, c.rowSpan, 3, u"x");
            ADD_FAILURE() << "accepted " << c.column << "," << c.row << " " << c.columnSpan << "x"
                          << c.rowSpan;
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Incorrect union of cells"));
        }
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 3; ++column)
                EXPECT_EQ(table.cell(column, row), ListingCell {});
        }
    }

    // The largest block and the last cell fit.
    ListingTable table({10, 10, 10}, 2);
    EXPECT_NO_THROW(table.placeBlock(0, 0, 3, 2, 0, u"tutto"));
    EXPECT_NO_THROW(table.placeBlock(2, 1, 1, 1, 0, u"ultimo"));
}
