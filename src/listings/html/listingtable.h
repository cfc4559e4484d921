#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// One cell of a ListingTable, as a value.
struct ListingCell
{
    QString text;
    int styleNumber = -1; // -1: DefaultCellStyle
    int columnSpan = 1;
    int rowSpan = 1;
    // Part of a block headed by another cell: not written to the page, but
    // it keeps a style of its own.
    bool covered = false;

    bool operator==(const ListingCell&) const = default;
};

// The table of an HTML page: column widths, a fixed number of rows and a cell
// for every column and row. Blocks of cells are placed at their top-left
// cell, which holds the text and the spans; the other cells of a block are
// covered.
//
// Listings run to millions of cells, so a cell is held in 16 bytes and the
// texts back to back in the code page's bytes.
class ListingTable
{
public:
    ListingTable(std::vector<int> columnWidths, int rowCount);
    ~ListingTable();
    ListingTable(ListingTable&&) noexcept;
    ListingTable& operator=(ListingTable&&) noexcept;

    int columnCount() const { return int(m_widths.size()); }
    int rowCount() const { return m_rowCount; }
    const std::vector<int>& columnWidths() const { return m_widths; }
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Gives the cell at (column, row) the style number, the spans and the
    // text, and covers the other cells of the block. Throws "Incorrect union
    // of cells", changing nothing, for a block of fewer than one column or
    // one row or one reaching outside the table.
    void placeBlock(
        int column, int row, int columnSpan, int rowSpan, int styleNumber, QStringView text);
    // The same with a text already in the code page's bytes.
    void placeBlockBytes(
        int column, int row, int columnSpan, int rowSpan, int styleNumber, QByteArrayView text);

    // Of any cell, covered or not.
    int styleNumber(int column, int row) const;
    void setStyleNumber(int column, int row, int styleNumber);

    ListingCell cell(int column, int row) const;
    bool isCovered(int column, int row) const { return at(column, row).covered(); }
    // The text in the code page's bytes.
    QByteArrayView textBytes(int column, int row) const;
    int columnSpan(int column, int row) const;
    int rowSpan(int column, int row) const;

    // The memory the table holds, for measurements.
    std::size_t memoryBytes() const;

private:
    class TextStore;

    struct Cell
    {
        static constexpr uint32_t coveredBit = 0x80000000u;

        uint64_t text = 0; // 0: empty
        int32_t style = -1;
        uint32_t shape = 0; // coveredBit | index into m_spans

        bool covered() const { return shape & coveredBit; }
        uint32_t spans() const { return shape & ~coveredBit; }
    };

    struct Spans
    {
        int columns = 1;
        int rows = 1;
    };

    const Cell& at(int column, int row) const;
    Cell& at(int column, int row);
    void placeBlock(
        int column, int row, int columnSpan, int rowSpan, int styleNumber, uint64_t text);

    std::vector<int> m_widths;
    int m_rowCount = 0;
    std::vector<Cell> m_cells; // row by row
    // The distinct spans of the table's blocks; [0] is one by one.
    std::vector<Spans> m_spans;
    std::unordered_map<uint64_t, uint32_t> m_spanIndex;
    std::unique_ptr<TextStore> m_texts;
};
