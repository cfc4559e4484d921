#pragma once

#include "catalogtable.h"

#include <cstdint>
#include <string>
#include <vector>

// The order of one column's values, as the grid sorts and groups them: texts
// by the regional collation, numbers and dates by value, blanks first.
//
// Every row has a key; rows compare by their keys as their values compare.
// A text column learns its order once (the distinct values, sorted by the
// collation) and keeps it up to date as rows change, so that sorting again
// costs no collation at all.
class ColumnOrder
{
public:
    ColumnOrder(const CatalogueTable& table, Field field);

    Field field() const { return m_field; }
    bool isText() const { return m_text; }

    // Learns the order of a text column from every row of the table; nothing
    // to learn for other columns.
    void learn();
    bool isLearned() const { return !m_text || m_learned; }
    // Drops what was learned (the table was emptied or reloaded).
    void forget();

    // For a learned text column, keys are ranks below rankLimit().
    uint64_t key(RowId row) const;
    uint32_t rankLimit() const { return m_rankLimit; }
    // Equal for rows whose values make one group; stable while the values
    // stay (unlike ranks, which shift as new values arrive).
    uint64_t identity(RowId row) const;

    // The row is new or its value may have changed.
    void update(RowId row);

    std::size_t memoryBytes() const;

private:
    uint32_t distinctOf(QByteArrayView bytes);
    uint32_t findDistinct(QByteArrayView bytes, uint64_t hash) const;
    QByteArrayView distinctBytes(uint32_t d) const
    {
        return {m_distinctBytes.data() + m_distinctBegin[d],
            qsizetype(m_distinctBegin[d + 1] - m_distinctBegin[d])};
    }
    void growHash();
    void placeNewDistinct(uint32_t d);
    std::size_t slotOf(RowId row) const { return row; }

    const CatalogueTable& m_table;
    Field m_field;
    bool m_text;
    bool m_learned = false;

    // Text columns: the distinct values, back to back.
    std::string m_distinctBytes;
    std::vector<uint32_t> m_distinctBegin; // one more than the values
    std::vector<uint32_t> m_hashSlots; // open addressing, distinct + 1, 0 = free
    std::vector<uint32_t> m_rank; // of each distinct value
    std::vector<uint32_t> m_canonical; // first distinct value of the same rank
    std::vector<uint32_t> m_byRank; // distinct values in rank order
    uint32_t m_rankLimit = 0;
    std::vector<uint32_t> m_rowDistinct; // indexed by RowId
};
