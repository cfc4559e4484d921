#pragma once

// How the catalogue table holds its rows in memory: the text of every row back
// to back in a few large buffers, in the bytes of the code page, and the other
// values in a small fixed record per row.

#include "fields.h"

#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Values other than text, shared by stored and pending rows.
struct RowScalars
{
    int32_t date = 0; // Julian day
    int32_t npagine = 0;
    double prezzo = 0;
    double costo = 0;
    uint16_t nulls = 0; // one bit per Field

    bool isNull(Field field) const { return nulls & (1u << index(field)); }
    void setNull(Field field, bool null)
    {
        const auto bit = uint16_t(1u << index(field));
        nulls = null ? uint16_t(nulls | bit) : uint16_t(nulls & ~bit);
    }
};

struct TextRef
{
    uint32_t chunk = 0;
    uint32_t offset = 0;
};

// Append-only buffers for the text of stored rows. Text replaced by an edit
// stays behind until the table is emptied; a catalogue is edited by hand, so
// that waste stays small.
class TextStore
{
public:
    // Room for size bytes; the caller fills it.
    std::pair<TextRef, char*> allocate(std::size_t size);
    const char* data(TextRef ref) const { return m_chunks[ref.chunk].get() + ref.offset; }
    void clear();
    std::size_t memoryBytes() const;

private:
    static constexpr std::size_t firstChunkSize = 64u << 10;
    static constexpr std::size_t chunkSize = 16u << 20;

    std::vector<std::unique_ptr<char[]>> m_chunks;
    std::vector<std::size_t> m_capacities;
    std::size_t m_used = 0; // in the last chunk
};

// A stored row: its texts in slot order, back to back.
struct StoredRow
{
    TextRef text;
    std::array<uint16_t, textFieldCount> textSize {};
    RowScalars scalars;
    bool alive = false;

    QByteArrayView textAt(const TextStore& store, int slot) const
    {
        std::size_t offset = 0;
        for (int k = 0; k < slot; ++k)
            offset += textSize[k];
        return {store.data(text) + offset, qsizetype(textSize[slot])};
    }
};

// The values of the row being appended or edited.
class PendingRow
{
public:
    void clear();
    QByteArrayView textAt(int slot) const
    {
        return {m_bytes.data() + m_offset[slot], qsizetype(m_size[slot])};
    }
    void setText(int slot, QByteArrayView bytes);
    void loadFrom(const StoredRow& row, const TextStore& store);
    // Stores the texts in slot order, back to back, as the texts of row.
    void storeTexts(TextStore& store, StoredRow& row) const;

    RowScalars scalars;

private:
    std::string m_bytes;
    std::array<uint32_t, textFieldCount> m_offset {};
    std::array<uint16_t, textFieldCount> m_size {};
};
