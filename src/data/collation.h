#pragma once

#include <QByteArrayView>
#include <QLocale>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// The regional collation of texts, case significant. It is the comparison
// QCollator makes for the locale with its default options, made here on the
// ICU collator that QCollator itself rests on: sorting a million titles needs
// the sort keys as bytes in one buffer, which QCollatorSortKey does not give.
class Collation
{
public:
    explicit Collation(const QLocale& locale);
    ~Collation();
    Collation(const Collation& other);
    Collation& operator=(const Collation& other);

    const QLocale& locale() const { return m_locale; }

    int compare(QStringView a, QStringView b) const;
    // Texts in the code page of the catalogue.
    int compareBytes(QByteArrayView a, QByteArrayView b) const;

    // Appends the sort key of a text in the code page, without its final zero
    // byte. Keys compare byte by byte as their texts compare, and hold no zero
    // byte.
    void appendSortKey(QByteArrayView text, std::vector<uint8_t>& keys) const;

private:
    struct Collator; // the ICU collator, kept out of this header
    QLocale m_locale;
    std::unique_ptr<Collator> m_collator;
};

// The sort keys of a set of texts, in one buffer.
class SortKeys
{
public:
    using TextAt = std::function<QByteArrayView(std::size_t)>;

    SortKeys() = default;
    // Keys of text(0) ... text(count - 1); large sets are shared among the cores.
    SortKeys(const Collation& collation, std::size_t count, const TextAt& text);

    std::size_t size() const { return m_offsets.empty() ? 0 : m_offsets.size() - 1; }
    std::span<const uint8_t> key(std::size_t i) const
    {
        return {m_bytes.data() + m_offsets[i], m_offsets[i + 1] - m_offsets[i]};
    }
    // Eight bytes of a key from offset 8 × word as a number, zero-padded:
    // numbers that differ order their keys.
    uint64_t word(std::size_t i, std::size_t word) const;
    uint64_t prefix(std::size_t i) const { return word(i, 0); }
    int compare(std::size_t a, std::size_t b) const;
    std::size_t memoryBytes() const
    {
        return m_bytes.capacity() + m_offsets.capacity() * sizeof(uint32_t);
    }

private:
    std::vector<uint8_t> m_bytes;
    std::vector<uint32_t> m_offsets;
};

// The indices of the keys in ascending order of the keys; equal keys keep
// ascending index order.
std::vector<uint32_t> sortedOrder(const SortKeys& keys);
