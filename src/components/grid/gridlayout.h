#pragma once

#include "fields.h"
#include "gridlook.h"

#include <QString>

#include <vector>

enum class SortOrder : unsigned char { None, Ascending, Descending };

// A band: a group of columns under one caption, laid out in the band's rows.
struct GridBand
{
    QString caption;
    int width = 0;
    // A fixed band stays at the left while the grid scrolls sideways.
    bool fixed = false;
    Qt::Alignment headerAlignment = Qt::AlignHCenter;
};

struct GridColumn
{
    Field field = Field::Titolo;
    // Empty: the field's name is shown.
    QString caption;
    int band = 0;
    int row = 0;
    int position = 0;
    // The width as designed or as the user last set it; the band row
    // stretches it to the band's width.
    int width = 64;
    bool visible = true;
    GridLook headerLook;
    Qt::Alignment headerAlignment = Qt::AlignLeft;
    GridLook contentLook;
    Qt::Alignment alignment = Qt::AlignLeft;
    GridLook footerLook;
    Qt::Alignment footerAlignment = Qt::AlignLeft;

    QString shownCaption() const { return caption.isEmpty() ? fieldDef(field).nameString() : caption; }
};

// A column as it stands in a header line: from left over width pixels,
// positions counted from the left edge of the first band.
struct PlacedColumn
{
    int column;
    int left;
    int width;
};

// The bands and columns of a banded view: their order, their widths and the
// stretch rule of band rows. Columns are referred to by their index.
class GridLayout
{
public:
    static constexpr int bandRowCount = 2;

    int addBand(GridBand band);
    int addColumn(GridColumn column);

    const std::vector<GridBand>& bands() const { return m_bands; }
    const std::vector<GridColumn>& columns() const { return m_columns; }
    const GridBand& band(int index) const { return m_bands[std::size_t(index)]; }
    const GridColumn& column(int index) const { return m_columns[std::size_t(index)]; }
    int columnOf(Field field) const;

    // Bands from left to right; fixed bands first.
    const std::vector<int>& bandOrder() const { return m_bandOrder; }
    int bandLeft(int band) const;
    int totalWidth() const;

    // The columns a band row shows, left to right: visible and not grouped.
    std::vector<int> rowColumns(int band, int row) const;
    // The widths they show: stretched to the band's width in proportion to
    // their widths, each rounded half up, the rest to the last column.
    std::vector<int> rowWidths(int band, int row) const;
    // Header line r: the columns of row r of every band, left to right, at
    // their places.
    std::vector<PlacedColumn> headerLine(int row) const;

    // Grouping takes a column out of the header rows.
    void setGrouped(int column, bool grouped);
    bool isGrouped(int column) const { return m_grouped[std::size_t(column)]; }

    // The user's changes.
    void moveColumn(int column, int band, int row, int position);
    // Resizes a column within its band row: the next column gives or takes
    // the difference; the last column of a row resizes its band.
    void resizeColumn(int column, int width);
    void resizeBand(int band, int width);
    // Moves a band among the bands of its kind (fixed or not).
    void moveBand(int band, int toIndex);

    static constexpr int minimumWidth = 16;

private:
    void renumber(int band, int row);

    std::vector<GridBand> m_bands;
    std::vector<int> m_bandOrder;
    std::vector<GridColumn> m_columns;
    std::vector<bool> m_grouped;
};
