#include "collation.h"

#include "codepage.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <unicode/coll.h>

namespace {

// A text of the code page as UTF-16, on the stack for the usual sizes.
class Utf16Text
{
public:
    explicit Utf16Text(QByteArrayView bytes)
    {
        m_size = int32_t(bytes.size());
        if (bytes.size() > qsizetype(sizeof m_inline / sizeof m_inline[0])) {
            m_heap.resize(size_t(bytes.size()));
            m_data = m_heap.data();
        }
        CodePage::windows1252().decodeInto(bytes, m_data);
    }
    const UChar* data() const { return m_data; }
    int32_t size() const { return m_size; }

private:
    char16_t m_inline[512];
    std::u16string m_heap;
    char16_t* m_data = m_inline;
    int32_t m_size = 0;
};

std::unique_ptr<icu::Collator> makeCollator(const QLocale& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray name = locale.name().toLatin1();
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale(name.constData()), status));
    if (U_FAILURE(status) || !collator)
        throw std::runtime_error("ICU collator not available");
    // The options QCollator sets: normalisation on, the locale's default
    // strength (case significant), no numeric mode, punctuation significant.
    collator->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, status);
    collator->setAttribute(UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, status);
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_OFF, status);
    collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, status);
    return collator;
}

int toInt(UCollationResult result)
{
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

void appendKey(const icu::Collator& collator, QByteArrayView text, std::vector<uint8_t>& keys)
{
    const Utf16Text utf16(text);
    const size_t start = keys.size();
    size_t room = size_t(utf16.size()) * 4 + 32;
    for (;;) {
        keys.resize(start + room);
        const int32_t needed
            = collator.getSortKey(utf16.data(), utf16.size(), keys.data() + start, int32_t(room));
        if (needed > 0 && size_t(needed) <= room) {
            keys.resize(start + size_t(needed) - 1); // without the final zero byte
            return;
        }
        room = size_t(needed);
    }
}

} // namespace

struct Collation::Collator
{
    std::unique_ptr<icu::Collator> icu;
};

Collation::Collation(const QLocale& locale)
    : m_locale(locale)
    , m_collator(new Collator {makeCollator(locale)})
{ }

Collation::~Collation() = default;

Collation::Collation(const Collation& other)
    : m_locale(other.m_locale)
    , m_collator(new Collator {std::unique_ptr<icu::Collator>(other.m_collator->icu->clone())})
{ }

Collation& Collation::operator=(const Collation& other)
{
    if (this != &other) {
        m_locale = other.m_locale;
        m_collator->icu.reset(other.m_collator->icu->clone());
    }
    return *this;
}

int Collation::compare(QStringView a, QStringView b) const
{
    UErrorCode status = U_ZERO_ERROR;
    return toInt(m_collator->icu->compare(reinterpret_cast<const UChar*>(a.utf16()),
        int32_t(a.size()), reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()), status));
}

int Collation::compareBytes(QByteArrayView a, QByteArrayView b) const
{
    const Utf16Text left(a), right(b);
    UErrorCode status = U_ZERO_ERROR;
    return toInt(
        m_collator->icu->compare(left.data(), left.size(), right.data(), right.size(), status));
}

void Collation::appendSortKey(QByteArrayView text, std::vector<uint8_t>& keys) const
{
    appendKey(*m_collator->icu, text, keys);
}

SortKeys::SortKeys(const Collation& collation, std::size_t count, const TextAt& text)
{
    // Below this a second thread costs more than it saves.
    constexpr std::size_t parallelThreshold = 20000;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = count < parallelThreshold ? 1 : std::min<std::size_t>(cores, 8);

    struct Part
    {
        std::vector<uint8_t> bytes;
        std::vector<uint32_t> ends;
    };
    std::vector<Part> results(parts);
    auto work = [&](std::size_t part, const Collation& own) {
        const std::size_t begin = count * part / parts, end = count * (part + 1) / parts;
        Part& result = results[part];
        result.ends.reserve(end - begin);
        for (std::size_t i = begin; i < end; ++i) {
            own.appendSortKey(text(i), result.bytes);
            result.ends.push_back(uint32_t(result.bytes.size()));
        }
    };
    std::vector<Collation> copies;
    copies.reserve(parts);
    for (std::size_t part = 1; part < parts; ++part)
        copies.push_back(collation); // one ICU collator per thread
    std::vector<std::thread> threads;
    for (std::size_t part = 1; part < parts; ++part)
        threads.emplace_back(work, part, std::cref(copies[part - 1]));
    work(0, collation);
    for (std::thread& thread : threads)
        thread.join();

    std::size_t total = 0;
    for (const Part& part : results)
        total += part.bytes.size();
    if (total > UINT32_MAX)
        throw std::length_error("sort keys too large");
    m_bytes.reserve(total);
    m_offsets.reserve(count + 1);
    m_offsets.push_back(0);
    for (Part& part : results) {
        const auto base = uint32_t(m_bytes.size());
        m_bytes.insert(m_bytes.end(), part.bytes.begin(), part.bytes.end());
        for (const uint32_t end : part.ends)
            m_offsets.push_back(base + end);
        part = Part();
    }
}

uint64_t SortKeys::word(std::size_t i, std::size_t word) const
{
    const std::span<const uint8_t> k = key(i);
    const std::size_t from = word * 8;
    if (from + 8 <= k.size()) {
        uint64_t bytes;
        std::memcpy(&bytes, k.data() + from, 8);
        return qFromBigEndian(bytes);
    }
    uint64_t value = 0;
    for (std::size_t b = from; b < from + 8; ++b)
        value = (value << 8) | (b < k.size() ? k[b] : 0);
    return value;
}

int SortKeys::compare(std::size_t a, std::size_t b) const
{
    const std::span<const uint8_t> x = key(a), y = key(b);
    const int c = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
    if (c != 0)
        return c < 0 ? -1 : 1;
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

namespace {

struct SortEntry
{
    uint64_t word;
    uint32_t index;
};

// Sorts entries whose keys agree before word depth by the word at depth,
// then each run of equal words by the next word, and so on: keys with long
// common beginnings (titles that start alike) are compared eight bytes at a
// time, never byte by byte. Equal keys end up in index order.
void sortByWords(const SortKeys& keys, SortEntry* begin, SortEntry* end, std::size_t depth)
{
    for (SortEntry* e = begin; e != end; ++e)
        e->word = keys.word(e->index, depth);
    std::sort(begin, end, [](const SortEntry& a, const SortEntry& b) {
        return a.word != b.word ? a.word < b.word : a.index < b.index;
    });
    const std::size_t consumed = (depth + 1) * 8;
    for (SortEntry* run = begin; run != end;) {
        SortEntry* runEnd = run + 1;
        bool longer = keys.key(run->index).size() > consumed;
        while (runEnd != end && runEnd->word == run->word) {
            longer |= keys.key(runEnd->index).size() > consumed;
            ++runEnd;
        }
        if (runEnd - run > 1 && longer)
            sortByWords(keys, run, runEnd, depth + 1);
        run = runEnd;
    }
}

} // namespace

std::vector<uint32_t> sortedOrder(const SortKeys& keys)
{
    const std::size_t n = keys.size();
    std::vector<SortEntry> entries(n);
    for (std::size_t i = 0; i < n; ++i)
        entries[i] = {0, uint32_t(i)};
    // Both halves sorted side by side, then merged.
    constexpr std::size_t parallelThreshold = 50000;
    if (n >= parallelThreshold && std::thread::hardware_concurrency() > 1) {
        SortEntry* middle = entries.data() + n / 2;
        std::thread left([&] { sortByWords(keys, entries.data(), middle, 0); });
        sortByWords(keys, middle, entries.data() + n, 0);
        left.join();
        std::vector<SortEntry> merged(n);
        std::merge(entries.data(), middle, middle, entries.data() + n, merged.begin(),
            [&keys](const SortEntry& a, const SortEntry& b) {
                const int c = keys.compare(a.index, b.index);
                return c != 0 ? c < 0 : a.index < b.index;
            });
        entries.swap(merged);
    } else {
        sortByWords(keys, entries.data(), entries.data() + n, 0);
    }
    std::vector<uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = entries[i].index;
    return order;
}
