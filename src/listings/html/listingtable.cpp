#include "listingtable.h"

#include "codepage.h"
#include "error.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

// Texts back to back in chunks that never move. A text is found by its
// reference: the chunk's number plus one in the high half, the offset in the
// low half; at that offset stand its length (seven bits a byte, the lowest
// first) and its bytes.
class ListingTable::TextStore
{
public:
    // Room for a text of size bytes; the caller fills it.
    std::pair<uint64_t, char*> allocate(std::size_t size)
    {
        unsigned char prefix[10];
        std::size_t prefixSize = 0;
        for (std::size_t rest = size;;) {
            prefix[prefixSize++]
                = static_cast<unsigned char>((rest & 0x7F) | (rest > 0x7F ? 0x80 : 0));
            rest >>= 7;
            if (rest == 0)
                break;
        }
        const std::size_t needed = prefixSize + size;
        if (m_chunks.empty() || m_capacity - m_used < needed) {
            const std::size_t next
                = m_chunks.empty() ? firstChunkSize : std::min(m_capacity * 2, largestChunkSize);
            m_capacity = std::max(next, needed);
            m_chunks.emplace_back(new char[m_capacity]);
            m_used = 0;
            m_total += m_capacity;
        }
        char* at = m_chunks.back().get() + m_used;
        std::memcpy(at, prefix, prefixSize);
        const uint64_t ref = (uint64_t(m_chunks.size()) << 32) | uint64_t(m_used);
        m_used += needed;
        return {ref, at + prefixSize};
    }

    QByteArrayView text(uint64_t ref) const
    {
        if (ref == 0)
            return {};
        const auto* at = reinterpret_cast<const unsigned char*>(
            m_chunks[std::size_t(ref >> 32) - 1].get() + (ref & 0xFFFFFFFFu));
        std::size_t size = 0;
        for (int shift = 0;; shift += 7) {
            const unsigned char byte = *at++;
            size |= std::size_t(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                break;
        }
        return {reinterpret_cast<const char*>(at), qsizetype(size)};
    }

    std::size_t memoryBytes() const { return m_total; }

private:
    static constexpr std::size_t firstChunkSize = 4u << 10;
    static constexpr std::size_t largestChunkSize = 16u << 20;

    std::vector<std::unique_ptr<char[]>> m_chunks;
    std::size_t m_capacity = 0; // of the last chunk
    std::size_t m_used = 0; // of the last chunk
    std::size_t m_total = 0;
};

ListingTable::ListingTable(std::vector<int> columnWidths, int rowCount)
    : m_widths(std::move(columnWidths))
    , m_rowCount(std::max(rowCount, 0))
    , m_cells(m_widths.size() * std::size_t(m_rowCount))
    , m_spans(1)
    , m_texts(std::make_unique<TextStore>())
{ }

ListingTable::~ListingTable() = default;
ListingTable::ListingTable(ListingTable&&) noexcept = default;
ListingTable& ListingTable::operator=(ListingTable&&) noexcept = default;

int ListingTable::columnWidth(int column) const
{
    return m_widths.at(std::size_t(column));
}

void ListingTable::setColumnWidth(int column, int width)
{
    m_widths.at(std::size_t(column)) = width;
}

const ListingTable::Cell& ListingTable::at(int column, int row) const
{
    if (column < 0 || column >= columnCount() || row < 0 || row >= m_rowCount)
        throw std::out_of_range("cell outside the listing table");
    return m_cells[std::size_t(row) * m_widths.size() + std::size_t(column)];
}

ListingTable::Cell& ListingTable::at(int column, int row)
{
    return const_cast<Cell&>(std::as_const(*this).at(column, row));
}

namespace {

void checkBlock(int column, int row, int columnSpan, int rowSpan, int columns, int rows)
{
    const bool inside = columnSpan >= 1 && rowSpan >= 1 && column >= 0 && row >= 0
        && int64_t(column) + columnSpan <= columns && int64_t(row) + rowSpan <= rows;
    if (!inside)
        throw Error(QStringLiteral("Incorrect union of cells"));
}

} // namespace

void ListingTable::placeBlock(
    int column, int row, int columnSpan, int rowSpan, int styleNumber, QStringView text)
{
    checkBlock(column, row, columnSpan, rowSpan, columnCount(), m_rowCount);
    uint64_t ref = 0;
    if (!text.isEmpty()) {
        const auto [newRef, bytes] = m_texts->allocate(std::size_t(text.size()));
        CodePage::windows1252().encodeInto(text, bytes);
        ref = newRef;
    }
    placeBlock(column, row, columnSpan, rowSpan, styleNumber, ref);
}

void ListingTable::placeBlockBytes(
    int column, int row, int columnSpan, int rowSpan, int styleNumber, QByteArrayView text)
{
    checkBlock(column, row, columnSpan, rowSpan, columnCount(), m_rowCount);
    uint64_t ref = 0;
    if (!text.isEmpty()) {
        const auto [newRef, bytes] = m_texts->allocate(std::size_t(text.size()));
        std::memcpy(bytes, text.data(), std::size_t(text.size()));
        ref = newRef;
    }
    placeBlock(column, row, columnSpan, rowSpan, styleNumber, ref);
}

void ListingTable::placeBlock(
    int column, int row, int columnSpan, int rowSpan, int styleNumber, uint64_t text)
{
    Cell& head = at(column, row);
    head.text = text;
    head.style = styleNumber;
    uint32_t spans = 0;
    if (columnSpan > 1 || rowSpan > 1) {
        const uint64_t key = (uint64_t(uint32_t(columnSpan)) << 32) | uint32_t(rowSpan);
        const auto [it, added] = m_spanIndex.try_emplace(key, uint32_t(m_spans.size()));
        if (added)
            m_spans.push_back({columnSpan, rowSpan});
        spans = it->second;
    }
    head.shape = (head.shape & Cell::coveredBit) | spans;
    for (int r = row; r < row + rowSpan; ++r) {
        for (int c = column; c < column + columnSpan; ++c) {
            if (r != row || c != column)
                at(c, r).shape |= Cell::coveredBit;
        }
    }
}

int ListingTable::styleNumber(int column, int row) const
{
    return at(column, row).style;
}

void ListingTable::setStyleNumber(int column, int row, int styleNumber)
{
    at(column, row).style = styleNumber;
}

QByteArrayView ListingTable::textBytes(int column, int row) const
{
    return m_texts->text(at(column, row).text);
}

int ListingTable::columnSpan(int column, int row) const
{
    return m_spans[at(column, row).spans()].columns;
}

int ListingTable::rowSpan(int column, int row) const
{
    return m_spans[at(column, row).spans()].rows;
}

ListingCell ListingTable::cell(int column, int row) const
{
    const Cell& c = at(column, row);
    const Spans& spans = m_spans[c.spans()];
    return {CodePage::windows1252().decode(m_texts->text(c.text)), c.style, spans.columns,
        spans.rows, c.covered()};
}

std::size_t ListingTable::memoryBytes() const
{
    return m_cells.capacity() * sizeof(Cell) + m_spans.capacity() * sizeof(Spans)
        + m_spanIndex.size() * 32 + m_texts->memoryBytes();
}
