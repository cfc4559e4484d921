#include "rowstorage.h"

#include <algorithm>
#include <cstring>

std::pair<TextRef, char*> TextStore::allocate(std::size_t size)
{
    if (m_chunks.empty() || m_used + size > m_capacities.back()) {
        // Chunks double as the text grows, from a small first one up to
        // chunkSize, so a small catalogue stays small.
        const std::size_t grown = std::clamp(memoryBytes(), firstChunkSize, chunkSize);
        const std::size_t capacity = std::max(grown, size);
        m_chunks.push_back(std::make_unique_for_overwrite<char[]>(capacity));
        m_capacities.push_back(capacity);
        m_used = 0;
    }
    const TextRef ref {uint32_t(m_chunks.size() - 1), uint32_t(m_used)};
    char* room = m_chunks.back().get() + m_used;
    m_used += size;
    return {ref, room};
}

void TextStore::clear()
{
    m_chunks.clear();
    m_capacities.clear();
    m_used = 0;
}

std::size_t TextStore::memoryBytes() const
{
    std::size_t total = 0;
    for (const std::size_t capacity : m_capacities)
        total += capacity;
    return total;
}

void PendingRow::clear()
{
    m_bytes.clear();
    m_offset.fill(0);
    m_size.fill(0);
    scalars = RowScalars();
}

void PendingRow::setText(int slot, QByteArrayView bytes)
{
    const char* begin = m_bytes.data();
    if (bytes.data() >= begin && bytes.data() < begin + m_bytes.size()) {
        const std::string copy(bytes.data(), std::size_t(bytes.size()));
        setText(slot, QByteArrayView(copy.data(), qsizetype(copy.size())));
        return;
    }
    m_offset[slot] = uint32_t(m_bytes.size());
    m_size[slot] = uint16_t(bytes.size());
    m_bytes.append(bytes.data(), std::size_t(bytes.size()));
}

void PendingRow::loadFrom(const StoredRow& row, const TextStore& store)
{
    clear();
    for (int slot = 0; slot < textFieldCount; ++slot)
        setText(slot, row.textAt(store, slot));
    scalars = row.scalars;
}

void PendingRow::storeTexts(TextStore& store, StoredRow& row) const
{
    std::size_t total = 0;
    for (const uint16_t size : m_size)
        total += size;
    auto [ref, out] = store.allocate(total);
    for (int slot = 0; slot < textFieldCount; ++slot) {
        if (m_size[slot] > 0)
            std::memcpy(out, m_bytes.data() + m_offset[slot], m_size[slot]);
        out += m_size[slot];
    }
    row.text = ref;
    row.textSize = m_size;
}
