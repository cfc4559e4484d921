#include "columnorder.h"

#include "collation.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr uint32_t noValue = UINT32_MAX;

// Eight bytes at a time, each word mixed in by a multiplication.
uint64_t hashBytes(QByteArrayView bytes)
{
    constexpr uint64_t factor = 0x9E3779B97F4A7C15ULL;
    uint64_t hash = uint64_t(bytes.size()) * factor;
    const char* p = bytes.data();
    qsizetype n = bytes.size();
    for (; n >= 8; n -= 8, p += 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        hash = (hash ^ word) * factor;
        hash ^= hash >> 29;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, p, std::size_t(n));
    hash = (hash ^ tail) * factor;
    return hash ^ (hash >> 32);
}

// Numbers mapped to keys that order as the numbers do; 0 is the blank value.
uint64_t numberKey(std::optional<double> value)
{
    if (!value)
        return 0;
    const auto bits = std::bit_cast<uint64_t>(*value == 0 ? 0.0 : *value);
    return (bits & (1ULL << 63)) ? ~bits : bits | (1ULL << 63);
}

} // namespace

ColumnOrder::ColumnOrder(const CatalogueTable& table, Field field)
    : m_table(table)
    , m_field(field)
    , m_text(fieldDef(field).kind == FieldKind::Text)
{ }

void ColumnOrder::forget()
{
    m_learned = false;
    m_distinctBytes = {};
    m_distinctBegin = {};
    m_hashSlots = {};
    m_rank = {};
    m_canonical = {};
    m_byRank = {};
    m_rankLimit = 0;
    m_rowDistinct = {};
}

void ColumnOrder::learn()
{
    if (isLearned())
        return;
    forget();
    m_distinctBegin.push_back(0);
    m_hashSlots.assign(1024, 0);
    const RowId limit = m_table.rowIdLimit();
    m_rowDistinct.assign(std::size_t(limit), noValue);
    for (RowId row = 1; row < limit; ++row) {
        if (m_table.contains(row))
            m_rowDistinct[slotOf(row)] = distinctOf(m_table.textBytes(row, m_field));
    }

    // The distinct values in collated order; values the collation holds equal
    // share a rank.
    const std::size_t distinct = m_distinctBegin.size() - 1;
    const Collation& collation = m_table.collation();
    const SortKeys keys(
        collation, distinct, [this](std::size_t d) { return distinctBytes(uint32_t(d)); });
    const std::vector<uint32_t> order = sortedOrder(keys);
    m_rank.assign(distinct, 0);
    m_canonical.assign(distinct, 0);
    m_byRank.assign(order.begin(), order.end());
    uint32_t rank = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && keys.compare(order[k - 1], order[k]) != 0)
            ++rank;
        m_rank[order[k]] = rank;
        m_canonical[order[k]]
            = k > 0 && m_rank[order[k - 1]] == rank ? m_canonical[order[k - 1]] : order[k];
    }
    m_rankLimit = order.empty() ? 0 : rank + 1;
    m_learned = true;
}

uint32_t ColumnOrder::findDistinct(QByteArrayView bytes, uint64_t hash) const
{
    const std::size_t mask = m_hashSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const uint32_t entry = m_hashSlots[slot];
        if (entry == 0)
            return noValue;
        if (distinctBytes(entry - 1) == bytes)
            return entry - 1;
    }
}

uint32_t ColumnOrder::distinctOf(QByteArrayView bytes)
{
    const uint64_t hash = hashBytes(bytes);
    const uint32_t found = findDistinct(bytes, hash);
    if (found != noValue)
        return found;
    const auto d = uint32_t(m_distinctBegin.size() - 1);
    m_distinctBytes.append(bytes.data(), std::size_t(bytes.size()));
    m_distinctBegin.push_back(uint32_t(m_distinctBytes.size()));
    if ((d + 1) * 2 > m_hashSlots.size()) {
        growHash();
    } else {
        const std::size_t mask = m_hashSlots.size() - 1;
        std::size_t slot = hash & mask;
        while (m_hashSlots[slot] != 0)
            slot = (slot + 1) & mask;
        m_hashSlots[slot] = d + 1;
    }
    return d;
}

void ColumnOrder::growHash()
{
    const std::size_t distinct = m_distinctBegin.size() - 1;
    m_hashSlots.assign(std::bit_ceil(distinct * 4), 0);
    const std::size_t mask = m_hashSlots.size() - 1;
    for (uint32_t d = 0; d < distinct; ++d) {
        std::size_t slot = hashBytes(distinctBytes(d)) & mask;
        while (m_hashSlots[slot] != 0)
            slot = (slot + 1) & mask;
        m_hashSlots[slot] = d + 1;
    }
}

// A value first seen after the order was learned takes its place among the
// others: ranks from there on move up by one.
void ColumnOrder::placeNewDistinct(uint32_t d)
{
    const Collation& collation = m_table.collation();
    const QByteArrayView bytes = distinctBytes(d);
    const auto at = std::lower_bound(
        m_byRank.begin(), m_byRank.end(), bytes, [&](uint32_t other, QByteArrayView value) {
            return collation.compareBytes(distinctBytes(other), value) < 0;
        });
    m_rank.push_back(0);
    m_canonical.push_back(d);
    if (at != m_byRank.end() && collation.compareBytes(distinctBytes(*at), bytes) == 0) {
        m_rank[d] = m_rank[*at];
        m_canonical[d] = m_canonical[*at];
    } else {
        const uint32_t rank = at == m_byRank.end() ? m_rankLimit : m_rank[*at];
        for (uint32_t& r : m_rank) {
            if (r >= rank)
                ++r;
        }
        m_rank[d] = rank;
        ++m_rankLimit;
    }
    m_byRank.insert(at, d);
}

void ColumnOrder::update(RowId row)
{
    if (!m_text || !m_learned)
        return;
    const uint32_t known = uint32_t(m_distinctBegin.size() - 1);
    const uint32_t d = distinctOf(m_table.textBytes(row, m_field));
    if (d == known)
        placeNewDistinct(d);
    if (slotOf(row) >= m_rowDistinct.size())
        m_rowDistinct.resize(std::max(slotOf(row) + 1, m_rowDistinct.size() * 3 / 2), noValue);
    m_rowDistinct[slotOf(row)] = d;
}

uint64_t ColumnOrder::key(RowId row) const
{
    if (!m_text)
        return numberKey(m_table.number(row, m_field));
    return m_rank[m_rowDistinct[slotOf(row)]];
}

uint64_t ColumnOrder::identity(RowId row) const
{
    if (!m_text)
        return key(row);
    return m_canonical[m_rowDistinct[slotOf(row)]];
}

std::size_t ColumnOrder::memoryBytes() const
{
    return m_distinctBytes.capacity()
        + (m_distinctBegin.capacity() + m_hashSlots.capacity() + m_rank.capacity()
              + m_canonical.capacity() + m_byRank.capacity() + m_rowDistinct.capacity())
        * sizeof(uint32_t);
}
