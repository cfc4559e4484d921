#include "htmllisting.h"

#include "bandedtableview.h"
#include "htmlpage.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Each grouped column indents the rows by this many pixels at the left of the
// first band; the column of a group row's sign is one pixel wider.
constexpr int indentWidth = 16;
constexpr int expanderWidth = 17;
constexpr int lineCount = GridLayout::bandRowCount;

constexpr unsigned sideBit(BorderSide side)
{
    return 1u << unsigned(side);
}
constexpr unsigned leftEdge = sideBit(BorderSide::Left);
constexpr unsigned topEdge = sideBit(BorderSide::Top);
constexpr unsigned rightEdge = sideBit(BorderSide::Right);
constexpr unsigned bottomEdge = sideBit(BorderSide::Bottom);

CellAlignment alignmentOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return CellAlignment::Right;
    if (alignment & Qt::AlignHCenter)
        return CellAlignment::Centre;
    return CellAlignment::Left;
}

CellStyle withLook(CellStyle style, const GridLook& look, const QPalette& palette)
{
    style.background = RgbColour::fromColor(look.background.resolve(palette));
    style.fontColour = RgbColour::fromColor(look.text.resolve(palette));
    style.fontName = look.fontFamily;
    style.fontStyle = {look.bold, look.italic, look.underline, look.strikeOut};
    style.fontSize = look.pointSize;
    style.fontCharset = quint8(look.charset);
    return style;
}

CellStyle withoutBorders(CellStyle style, unsigned sides)
{
    for (int side = 0; side < 4; ++side) {
        if (sides & (1u << side))
            style.borders[std::size_t(side)].width = 0;
    }
    return style;
}

// A column header as it stands in the table: its first table column and the
// number of table columns it spans.
struct PlacedHeader
{
    int gridColumn;
    int first;
    int span;
    bool inFirstBand;
};

struct PlacedBand
{
    int band;
    int first;
    int span;
};

// The table columns of the page: every edge of a band or of a column header,
// and the group indents, cut the line from the first band's left edge.
struct ListingColumns
{
    ListingColumns(const GridLayout& layout, int groupCount)
    {
        const std::vector<int>& order = layout.bandOrder();
        std::vector<int> lefts, rights;
        int left = 0;
        for (std::size_t k = 0; k < order.size(); ++k) {
            int width = layout.band(order[k]).width;
            // The indents must stay inside the first band.
            if (k == 0 && indentWidth * groupCount >= width)
                width = indentWidth * groupCount + 1;
            lefts.push_back(left);
            left += width;
            rights.push_back(left);
        }

        std::vector<int> boundaries {0};
        for (std::size_t k = 0; k < order.size(); ++k) {
            for (int row = 0; row < lineCount; ++row) {
                int position = lefts[k];
                for (const int width : layout.rowWidths(order[k], row)) {
                    position += width;
                    boundaries.push_back(position);
                }
            }
            boundaries.push_back(rights[k]);
        }
        for (int level = 1; level <= groupCount; ++level)
            boundaries.push_back(indentWidth * level);
        std::sort(boundaries.begin(), boundaries.end());
        boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());

        auto columnAt = [&boundaries](int position) {
            return int(std::lower_bound(boundaries.begin(), boundaries.end(), position)
                - boundaries.begin());
        };
        for (std::size_t i = 0; i + 1 < boundaries.size(); ++i)
            widths.push_back(boundaries[i + 1] - boundaries[i]);

        bandOf.assign(widths.size(), order.empty() ? 0 : order.front());
        endsBand.assign(widths.size(), false);
        for (std::size_t k = 0; k < order.size(); ++k) {
            const int first = columnAt(lefts[k]);
            const int end = columnAt(rights[k]);
            bands.push_back({order[k], first, end - first});
            for (int c = first; c < end; ++c)
                bandOf[std::size_t(c)] = order[k];
            if (k + 1 < order.size() && end > 0)
                endsBand[std::size_t(end - 1)] = true;
        }

        for (int row = 0; row < lineCount; ++row) {
            for (std::size_t k = 0; k < order.size(); ++k) {
                const std::vector<int> columns = layout.rowColumns(order[k], row);
                const std::vector<int> shown = layout.rowWidths(order[k], row);
                int position = lefts[k];
                for (std::size_t j = 0; j < columns.size(); ++j) {
                    const int first = columnAt(position);
                    position += shown[j];
                    lines[std::size_t(row)].push_back(
                        {columns[j], first, columnAt(position) - first, k == 0});
                }
            }
        }
    }

    int count() const { return int(widths.size()); }

    std::vector<int> widths;
    std::vector<PlacedBand> bands;
    std::array<std::vector<PlacedHeader>, lineCount> lines;
    std::vector<int> bandOf; // of each table column
    // Whether a table column is the last of a band that has another band on
    // its right.
    std::vector<bool> endsBand;
};

// Fills the table and registers the styles in the order the page's classes
// are numbered by. The style of each kind of cell is registered the first
// time a cell of that kind is met, and remembered: registering it again would
// give the same number.
class ListingBuilder
{
public:
    explicit ListingBuilder(BandedTableView& view)
        : m_view(view)
        , m_layout(view.layout())
        , m_palette(QApplication::palette())
        , m_groupCount(int(view.groupedColumns().size()))
        , m_columns(m_layout, m_groupCount)
        , m_listing {ListingTable(m_columns.widths, tableRowCount(view)), StyleRegistry()}
    { }

    HtmlListing build()
    {
        placeHeaderRows();
        int t = 1 + lineCount;
        std::vector<int> open; // groups whose footer is still to come
        auto closeFooters = [&](int level) {
            while (!open.empty() && m_view.group(open.back()).level >= level) {
                placeFooter(t, open.back());
                t += lineCount;
                open.pop_back();
            }
        };
        for (int i = 0; i < m_view.rowCount(); ++i) {
            const BandedTableView::Row row = m_view.row(i);
            switch (row.kind) {
            case BandedTableView::Row::Kind::Group:
                closeFooters(row.level);
                placeGroupRow(t, row.group);
                ++t;
                open.push_back(row.group);
                break;
            case BandedTableView::Row::Kind::Data:
                placeDataRow(t, row.row, row.level);
                t += lineCount;
                break;
            case BandedTableView::Row::Kind::GroupFooter:
                // Footers are placed as their groups close.
                break;
            }
        }
        closeFooters(0);
        closeLastRow();
        closeRightEdge();
        return std::move(m_listing);
    }

private:
    static int tableRowCount(const BandedTableView& view)
    {
        int groups = 0;
        int books = 0;
        for (int i = 0; i < view.rowCount(); ++i) {
            switch (view.row(i).kind) {
            case BandedTableView::Row::Kind::Group:
                ++groups;
                break;
            case BandedTableView::Row::Kind::Data:
                ++books;
                break;
            case BandedTableView::Row::Kind::GroupFooter:
                break;
            }
        }
        return 1 + lineCount + (1 + lineCount) * groups + lineCount * books;
    }

    ListingTable& table() { return m_listing.table; }
    StyleRegistry& registry() { return m_listing.registry; }
    const GridAppearance& appearance() const { return m_view.appearance(); }
    const GridColumn& gridColumn(int column) const { return m_layout.column(column); }

    template<class Make>
    int remembered(std::vector<int>& numbers, int key, Make make)
    {
        if (std::size_t(key) >= numbers.size())
            numbers.resize(std::size_t(key) + 1, unknown);
        int& number = numbers[std::size_t(key)];
        if (number == unknown)
            number = registry().registerStyle(make());
        return number;
    }

    // --- The kinds of cell

    int bandHeaderStyle(int band)
    {
        return remembered(m_bandHeader, band, [&] {
            CellStyle style = DefaultCellStyle();
            style.alignment = alignmentOf(m_layout.band(band).headerAlignment);
            return withLook(style, appearance().bandHeader, m_palette);
        });
    }

    int fillerStyle(std::vector<int>& numbers, int key, const GridLook& look)
    {
        return remembered(numbers, key, [&] {
            CellStyle style = withoutBorders(DefaultCellStyle(), 0xF);
            style.alignment = CellAlignment::Centre;
            style = withLook(style, look, m_palette);
            style.fontStyle = {};
            return style;
        });
    }

    int headerFillerStyle(int band)
    {
        return fillerStyle(m_headerFiller, band, appearance().bandBackground);
    }
    int recordFillerStyle(int band)
    {
        return fillerStyle(m_recordFiller, band, appearance().content);
    }
    int footerFillerStyle() { return fillerStyle(m_footerFiller, 0, appearance().footer); }

    int columnStyle(
        std::vector<int>& numbers, int column, Qt::Alignment alignment, const GridLook& look)
    {
        return remembered(numbers, column, [&] {
            CellStyle style = DefaultCellStyle();
            style.alignment = alignmentOf(alignment);
            return withLook(style, look, m_palette);
        });
    }

    int columnHeaderStyle(int column)
    {
        const GridColumn& c = gridColumn(column);
        return columnStyle(m_columnHeader, column, c.headerAlignment, c.headerLook);
    }
    int dataCellStyle(int column)
    {
        const GridColumn& c = gridColumn(column);
        return columnStyle(m_dataCell, column, c.alignment, c.contentLook);
    }
    int footerCellStyle(int column)
    {
        const GridColumn& c = gridColumn(column);
        return columnStyle(m_footerCell, column, c.footerAlignment, c.footerLook);
    }

    int expanderStyle()
    {
        return remembered(m_expander, 0, [&] {
            CellStyle style = DefaultCellStyle();
            style.background = RgbColour::fromColor(m_palette.color(QPalette::Button));
            style.alignment = CellAlignment::Centre;
            return style;
        });
    }

    int indentStyle(int level)
    {
        return remembered(m_indent, level, [&] {
            CellStyle style = withoutBorders(DefaultCellStyle(), topEdge | bottomEdge);
            style.alignment = CellAlignment::Centre;
            return withLook(style, appearance().group(level), m_palette);
        });
    }

    int groupTextStyle(int level)
    {
        return remembered(m_groupText, level, [&] {
            CellStyle style = DefaultCellStyle();
            style.alignment = CellAlignment::Left;
            return withLook(style, appearance().group(level), m_palette);
        });
    }

    // --- Edges

    // The style number with the given sides at width 1.
    int withEdges(int number, unsigned sides)
    {
        const std::size_t key = std::size_t(number + 1);
        if (key >= m_edges.size()) {
            std::array<int, 16> none;
            none.fill(unknown);
            m_edges.resize(std::size_t(registry().count()) + 1, none);
        }
        int& edged = m_edges[key][sides];
        if (edged == unknown) {
            CellStyle style = registry().style(number);
            for (int side = 0; side < 4; ++side) {
                if (sides & (1u << side))
                    style.borders[std::size_t(side)].width = 1;
            }
            edged = registry().registerStyle(style);
        }
        return edged;
    }

    void addEdges(int column, int row, unsigned sides)
    {
        table().setStyleNumber(column, row, withEdges(table().styleNumber(column, row), sides));
    }

    // --- Rows

    void placeHeaderRows()
    {
        for (const PlacedBand& band : m_columns.bands)
            table().placeBlock(band.first, 0, band.span, 1, bandHeaderStyle(band.band),
                m_layout.band(band.band).caption);
        for (int c = 0; c < m_columns.count(); ++c) {
            for (int line = 0; line < lineCount; ++line)
                table().setStyleNumber(
                    c, 1 + line, headerFillerStyle(m_columns.bandOf[std::size_t(c)]));
        }
        for (int line = 0; line < lineCount; ++line) {
            for (const PlacedHeader& h : m_columns.lines[std::size_t(line)])
                table().placeBlock(h.first, 1 + line, h.span, 1, columnHeaderStyle(h.gridColumn),
                    gridColumn(h.gridColumn).shownCaption());
        }
    }

    void setIndents(int row, int level)
    {
        for (int i = 0; i < level; ++i)
            table().setStyleNumber(i, row, indentStyle(i));
    }

    // The cells under the headers of both lines for a row of the given level,
    // in table rows t onwards: the first header of a line in the first band
    // gives way to the indents.
    template<class StyleOf, class TextOf>
    void placeUnderHeaders(int t, int level, StyleOf styleOf, TextOf textOf)
    {
        for (int line = 0; line < lineCount; ++line) {
            setIndents(t + line, level);
            const std::vector<PlacedHeader>& headers = m_columns.lines[std::size_t(line)];
            for (std::size_t k = 0; k < headers.size(); ++k) {
                const PlacedHeader& h = headers[k];
                int first = h.first;
                int span = h.span;
                if (k == 0 && h.inFirstBand) {
                    first = level;
                    span = h.first + h.span - level;
                }
                table().placeBlock(
                    first, t + line, span, 1, styleOf(h.gridColumn), textOf(h.gridColumn));
            }
        }
    }

    void placeDataRow(int t, RowId row, int level)
    {
        const int columns = m_columns.count();
        for (int c = 0; c < columns; ++c) {
            const int filler = recordFillerStyle(m_columns.bandOf[std::size_t(c)]);
            for (int line = 0; line < lineCount; ++line)
                table().setStyleNumber(c, t + line, filler);
        }
        placeUnderHeaders(
            t, level, [this](int column) { return dataCellStyle(column); },
            [&](int column) { return m_view.cellText(row, column); });
        for (int c = level; c < columns; ++c) {
            unsigned bandEdges = 0;
            if (m_columns.endsBand[std::size_t(c)])
                bandEdges |= rightEdge;
            if (c > 0 && m_columns.endsBand[std::size_t(c - 1)])
                bandEdges |= leftEdge;
            for (int line = 0; line < lineCount; ++line) {
                unsigned sides = bandEdges;
                if (line == 0)
                    sides |= topEdge;
                if (line == lineCount - 1)
                    sides |= bottomEdge;
                addEdges(c, t + line, sides);
            }
        }
    }

    void placeGroupRow(int t, int group)
    {
        const int level = m_view.group(group).level;
        table().setColumnWidth(level, expanderWidth);
        table().placeBlock(level, t, 1, 1, expanderStyle(),
            m_view.group(group).expanded ? QStringView(u"-") : QStringView(u"+"));
        setIndents(t, level);
        table().placeBlock(level + 1, t, m_columns.count() - level - 1, 1, groupTextStyle(level),
            m_view.groupText(group));
    }

    void placeFooter(int t, int group)
    {
        const int level = m_view.group(group).level;
        const int columns = m_columns.count();
        for (int c = 0; c < columns; ++c) {
            for (int line = 0; line < lineCount; ++line)
                table().setStyleNumber(c, t + line, footerFillerStyle());
        }
        placeUnderHeaders(
            t, level, [this](int column) { return footerCellStyle(column); },
            [&](int column) { return m_view.footerText(group, column); });
        for (int c = level; c < columns; ++c) {
            addEdges(c, t, topEdge);
            addEdges(c, t + lineCount - 1, bottomEdge);
        }
    }

    // The bottom edge of the page's last row, from the left until a cell has
    // one.
    void closeLastRow()
    {
        const int last = table().rowCount() - 1;
        const int cells = std::min(int(m_columns.lines[0].size()), m_columns.count());
        for (int c = 0; c < cells; ++c) {
            const int number = table().styleNumber(c, last);
            if (registry().style(number).border(BorderSide::Bottom).width != 0)
                break;
            table().setStyleNumber(c, last, withEdges(number, bottomEdge));
        }
    }

    void closeRightEdge()
    {
        const int last = m_columns.count() - 1;
        if (last < 0)
            return;
        for (int row = 0; row < table().rowCount(); ++row)
            addEdges(last, row, rightEdge);
    }

    static constexpr int unknown = -2;

    BandedTableView& m_view;
    const GridLayout& m_layout;
    const QPalette m_palette;
    const int m_groupCount;
    const ListingColumns m_columns;
    HtmlListing m_listing;

    std::vector<int> m_bandHeader, m_headerFiller, m_columnHeader, m_recordFiller, m_dataCell,
        m_expander, m_indent, m_groupText, m_footerFiller, m_footerCell;
    // By style number + 1 and the sides set to width 1.
    std::vector<std::array<int, 16>> m_edges;
};

} // namespace

HtmlListing buildHtmlListing(BandedTableView& view)
{
    view.expandAll();
    return ListingBuilder(view).build();
}

void WriteHtmlListing(const QString& path, BandedTableView& view)
{
    const HtmlListing listing = buildHtmlListing(view);
    WriteHtmlPage(path, listing.table, listing.registry);
}
