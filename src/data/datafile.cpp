// The data file of the catalogue: tab-separated single-byte text, a header line
// of column names and one line per book, CR LF after every line.

#include "atomicfile.h"
#include "catalogtable.h"
#include "codepage.h"
#include "error.h"
#include "valuetext.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

// Splits text into lines: a line ends at CR, at LF or at CR LF; a line end at
// the very end adds no empty line.
class LineReader
{
public:
    explicit LineReader(QByteArrayView text)
        : m_p(text.data())
        , m_end(text.data() + text.size())
    { }

    bool next(QByteArrayView& line)
    {
        if (m_p == m_end)
            return false;
        // The next CR and the next LF are each searched once and reused until
        // passed, so files of any line end are read in linear time.
        if (m_cr < m_p)
            m_cr = find('\r');
        if (m_lf < m_p)
            m_lf = find('\n');
        const char* stop = std::min(m_cr, m_lf);
        line = QByteArrayView(m_p, stop - m_p);
        if (stop == m_end)
            m_p = m_end;
        else if (*stop == '\r' && stop + 1 < m_end && stop[1] == '\n')
            m_p = stop + 2;
        else
            m_p = stop + 1;
        return true;
    }

private:
    const char* find(char c) const
    {
        const void* found = std::memchr(m_p, c, std::size_t(m_end - m_p));
        return found ? static_cast<const char*>(found) : m_end;
    }

    const char* m_p;
    const char* m_end;
    const char* m_cr = nullptr;
    const char* m_lf = nullptr;
};

// Splits a line at its TABs: the text before each TAB is a value, the text
// after the last TAB is the last value unless it is empty.
class ValueReader
{
public:
    explicit ValueReader(QByteArrayView line)
        : m_rest(line)
    { }

    bool next(QByteArrayView& value)
    {
        if (m_rest.isEmpty())
            return false;
        const void* tab = std::memchr(m_rest.data(), '\t', std::size_t(m_rest.size()));
        if (!tab) {
            value = m_rest;
            m_rest = {};
            return true;
        }
        const qsizetype length = static_cast<const char*>(tab) - m_rest.data();
        value = m_rest.first(length);
        m_rest = m_rest.sliced(length + 1);
        return true;
    }

private:
    QByteArrayView m_rest;
};

// A value quoted in an error message; a value of thousands of characters is
// shortened so that the message stays readable.
QString quotedValue(QByteArrayView bytes)
{
    constexpr qsizetype longest = 200;
    if (bytes.size() <= longest)
        return CodePage::windows1252().decode(bytes);
    return CodePage::windows1252().decode(bytes.first(longest)) + QStringLiteral("...");
}

// Whether any byte is below 14, which the control bytes TAB, LF, CR and NUL
// are. Nearly no value holds one, so the test runs on eight bytes at a time
// (the "has less" test of the bit twiddling folklore, exact for limits up to
// 128).
bool holdsByteBelow14(const char* p, qsizetype n)
{
    constexpr uint64_t ones = 0x0101010101010101ULL;
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x;
        std::memcpy(&x, p + i, 8);
        if (((x - ones * 14) & ~x & (ones * 0x80)) != 0)
            return true;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) < 14)
            return true;
    }
    return false;
}

// Each TAB, CR LF pair, lone CR, lone LF and NUL inside a value becomes one
// space, so that every book stays one line of fourteen values.
char* putText(char* out, QByteArrayView value)
{
    const char* p = value.data();
    const qsizetype n = value.size();
    if (!holdsByteBelow14(p, n))
        return std::copy(p, p + n, out);
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c == '\t' || c == '\n' || c == 0) {
            *out++ = ' ';
        } else if (c == '\r') {
            *out++ = ' ';
            if (i + 1 < n && p[i + 1] == '\n')
                ++i;
        } else {
            *out++ = c;
        }
    }
    return out;
}

// A buffer that grows by doubling; each line makes room for itself once.
class ByteWriter
{
public:
    explicit ByteWriter(qsizetype expected) { m_bytes.resize(std::max<qsizetype>(expected, 64)); }

    char* room(qsizetype size)
    {
        if (m_used + size > m_bytes.size())
            m_bytes.resize(std::max(m_bytes.size() * 2, m_used + size));
        return m_bytes.data() + m_used;
    }
    void commit(const char* end) { m_used = end - m_bytes.constData(); }
    QByteArray take()
    {
        m_bytes.resize(m_used);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_used = 0;
};

} // namespace

// Fills the catalogue table from the bytes of a data file. The rows are
// appended as any new row is, so the table's new-row handler gives them their
// defaults first, and are put in title order once, after the last line.
class DataFileLoader
{
public:
    explicit DataFileLoader(CatalogueTable& table)
        : m_table(table)
    { }

    void load(QByteArrayView text)
    {
        if (const void* nul = std::memchr(text.data(), 0, std::size_t(text.size())))
            text = text.first(static_cast<const char*>(nul) - text.data());
        LineReader lines(text);
        QByteArrayView header;
        if (!lines.next(header))
            return;

        m_table.requireOpen();
        m_table.checkBrowseMode();
        m_table.disableNotifications();
        m_table.dropRows();
        m_table.noteChange();
        // Room for the rows at the size the file's books usually have.
        const auto expectedRows = std::size_t(text.size() / 128 + 16);
        m_table.m_rows.reserve(expectedRows);
        m_table.m_order.reserve(expectedRows);
        try {
            readHeader(header);
            QByteArrayView line;
            while (lines.next(line))
                readRow(line);
        } catch (...) {
            finish();
            throw;
        }
        finish();
    }

private:
    void readHeader(QByteArrayView line)
    {
        ValueReader names(line);
        QByteArrayView name;
        while (names.next(name)) {
            const std::optional<Field> field = findField(CodePage::windows1252().decode(name));
            const bool stored = field && fieldDef(*field).isStored();
            m_columns.push_back(stored ? *field : std::optional<Field>());
        }
    }

    void readRow(QByteArrayView line)
    {
        m_table.append();
        try {
            ValueReader values(line);
            QByteArrayView value;
            std::size_t column = 0;
            for (; values.next(value); ++column) {
                if (column >= m_columns.size())
                    throw Error(QStringLiteral("List index out of bounds (%1)").arg(column));
                if (m_columns[column] && !value.isEmpty())
                    setFromText(*m_columns[column], value);
            }
        } catch (...) {
            m_table.cancel();
            throw;
        }
        m_table.postForLoad();
    }

    void setFromText(Field field, QByteArrayView bytes)
    {
        const FieldDef& def = fieldDef(field);
        RowScalars& scalars = m_table.m_pending.scalars;
        if (def.kind == FieldKind::Text) {
            m_table.storeText(field, bytes);
            return;
        }
        // No number or date is this long; such a value is refused unread.
        constexpr qsizetype longest = 400;
        char16_t buffer[longest];
        const bool fits = bytes.size() <= longest;
        if (fits)
            CodePage::windows1252().decodeInto(bytes, buffer);
        const QStringView text(buffer, fits ? bytes.size() : 0);
        switch (def.kind) {
        case FieldKind::Integer:
            if (const std::optional<qint32> number
                = fits ? ValueText::parseInteger(text) : std::nullopt) {
                scalars.npagine = *number;
                break;
            }
            throw Error(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                            .arg(quotedValue(bytes), def.nameString()));
        case FieldKind::Float:
            if (const std::optional<double> amount = fits
                    ? ValueText::parseAmount(text, m_table.m_settings.decimalSeparator())
                    : std::nullopt) {
                (field == Field::Prezzo ? scalars.prezzo : scalars.costo) = *amount;
                break;
            }
            throw Error(QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                            .arg(quotedValue(bytes), def.nameString()));
        case FieldKind::Date:
            if (const std::optional<QDate> date
                = fits ? m_table.m_settings.parseDate(text) : std::nullopt) {
                scalars.date = int32_t(date->toJulianDay());
                break;
            }
            throw Error(QStringLiteral("'%1' is not a valid date").arg(quotedValue(bytes)));
        case FieldKind::Text:
        case FieldKind::RecordNumber:
            return;
        }
        scalars.setNull(field, false);
    }

    // Whether the load ended or stopped: the stored rows in order, the first
    // current, and one notification to the views.
    void finish()
    {
        m_table.sortRows();
        m_table.m_atEnd = m_table.m_order.empty();
        m_table.setCurrent(m_table.m_order.empty() ? -1 : 0);
        m_table.enableNotifications();
    }

    CatalogueTable& m_table;
    std::vector<std::optional<Field>> m_columns;
};

void CatalogueTable::loadFromBytes(QByteArray bytes)
{
    DataFileLoader(*this).load(bytes);
}

void CatalogueTable::LoadDataFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(QStringLiteral("Cannot open file \"%1\". %2")
                        .arg(QDir::toNativeSeparators(path), systemErrorText(file.errorString())));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Stream read error"));
    file.close();
    loadFromBytes(std::move(bytes));
}

// Writes the table in the data file's form: the header line, then a line of
// edit texts for every row in the table's order. Large tables are written in
// parts side by side, one per core, which follow each other in the file.
class DataFileWriter
{
public:
    explicit DataFileWriter(const CatalogueTable& table)
        : m_table(table)
        , m_decimalSeparator(
              CodePage::windows1252().fromUnicode(table.m_settings.decimalSeparator().unicode()))
    {
        for (const FieldDef& def : allFields()) {
            if (def.isStored())
                m_columns.push_back(def.field);
        }
    }

    std::vector<QByteArray> parts() const
    {
        const std::size_t rows = m_table.m_order.size();
        constexpr std::size_t parallelThreshold = 50000;
        const std::size_t count = rows < parallelThreshold
            ? 1
            : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
        std::vector<QByteArray> parts(count);
        auto write = [&](std::size_t part) {
            parts[part] = lines(rows * part / count, rows * (part + 1) / count, part == 0);
        };
        std::vector<std::thread> threads;
        for (std::size_t part = 1; part < count; ++part)
            threads.emplace_back(write, part);
        write(0);
        for (std::thread& thread : threads)
            thread.join();
        return parts;
    }

private:
    QByteArray lines(std::size_t begin, std::size_t end, bool withHeader) const
    {
        const std::size_t rows = m_table.m_order.size();
        const qsizetype expected
            = qsizetype(m_table.m_texts.memoryBytes() / std::max<std::size_t>(rows, 1) + 64)
            * qsizetype(end - begin);
        ByteWriter out(expected);
        if (withHeader) {
            QByteArray header;
            for (const Field field : m_columns) {
                if (!header.isEmpty())
                    header.append('\t');
                header.append(fieldDef(field).nameString().toLatin1());
            }
            header.append("\r\n");
            out.commit(std::copy(header.cbegin(), header.cend(), out.room(header.size())));
        }
        for (std::size_t i = begin; i < end; ++i)
            out.commit(line(m_table.stored(m_table.m_order[i]), out));
        return out.take();
    }

    char* line(const StoredRow& row, ByteWriter& out) const
    {
        // Room for every value but the texts: separators, line end, a date,
        // a page count and two amounts.
        constexpr qsizetype otherValues = storedFieldCount + 2
            + RegionalSettings::maxFormattedDateSize + 16 + 2 * ValueText::maxFormattedAmountSize;
        qsizetype textSize = 0;
        for (const uint16_t size : row.textSize)
            textSize += size;
        char* p = out.room(textSize + otherValues);
        for (const Field field : m_columns) {
            if (field != m_columns.front())
                *p++ = '\t';
            if (row.scalars.isNull(field))
                continue;
            const FieldDef& def = fieldDef(field);
            switch (def.kind) {
            case FieldKind::Text:
                p = putText(p, row.textAt(m_table.m_texts, def.textSlot));
                break;
            case FieldKind::Date:
                p += m_table.m_settings.formatDate(QDate::fromJulianDay(row.scalars.date), p);
                break;
            case FieldKind::Integer:
                p += ValueText::formatInteger(row.scalars.npagine, p);
                break;
            case FieldKind::Float:
                p += ValueText::formatAmount(
                    field == Field::Prezzo ? row.scalars.prezzo : row.scalars.costo,
                    m_decimalSeparator, p);
                break;
            case FieldKind::RecordNumber:
                break;
            }
        }
        *p++ = '\r';
        *p++ = '\n';
        return p;
    }

    const CatalogueTable& m_table;
    const char m_decimalSeparator;
    std::vector<Field> m_columns;
};

QByteArray CatalogueTable::saveToBytes()
{
    checkBrowseMode();
    QByteArray bytes;
    for (const QByteArray& part : DataFileWriter(*this).parts())
        bytes += part;
    return bytes;
}

void CatalogueTable::SaveDataFile(const QString& path)
{
    if (!isOpen())
        return;
    checkBrowseMode();
    writeFileAtomically(path, DataFileWriter(*this).parts());
}
