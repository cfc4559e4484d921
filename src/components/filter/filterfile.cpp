#include "filterfile.h"

#include "atomicfile.h"
#include "componenttexts.h"
#include "error.h"
#include "filtercolumns.h"
#include "filtermatcher.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <charconv>
#include <optional>

namespace FilterFile {

namespace {

constexpr QByteArrayView header = "TOMARIO filter 1";

// --- Writing

void writeText(QByteArray& out, const QString& text)
{
    out += '"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'"':
            out += "\\\"";
            continue;
        case u'\\':
            out += "\\\\";
            continue;
        case u'\n':
            out += "\\n";
            continue;
        case u'\r':
            out += "\\r";
            continue;
        case u'\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        // Control characters and the halves of surrogate pairs are escaped,
        // so that every text comes back exactly.
        if (u < 0x20 || u == 0x7F || c.isSurrogate())
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
        else
            out += QString(c).toUtf8();
    }
    out += '"';
}

void writeValue(QByteArray& out, const FieldValue& value)
{
    if (const QString* text = std::get_if<QString>(&value)) {
        writeText(out, *text);
    } else if (const qint32* number = std::get_if<qint32>(&value)) {
        out += "integer " + QByteArray::number(*number);
    } else if (const double* amount = std::get_if<double>(&value)) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *amount);
        out += "amount " + QByteArray(buffer, result.ptr - buffer);
    } else if (const QDate* date = std::get_if<QDate>(&value)) {
        int year = 0, month = 0, day = 0;
        date->getDate(&year, &month, &day);
        out += "date " + QByteArray::number(year) + '-'
            + QByteArray::number(month).rightJustified(2, '0') + '-'
            + QByteArray::number(day).rightJustified(2, '0');
    } else {
        out += "blank";
    }
}

void writeGroup(QByteArray& out, const FilterGroup& group, int depth)
{
    const QByteArray indent(depth * 2, ' ');
    out += indent + "group " + QString::fromUtf16(groupOperatorToken(group.op)).toLatin1() + '\n';
    for (const FilterNode& item : group.items) {
        if (const FilterGroup* inner = item.group()) {
            writeGroup(out, *inner, depth + 1);
            continue;
        }
        const FilterCondition& condition = *item.condition();
        out += indent + "  condition " + fieldDef(condition.column).nameString().toLatin1() + ' '
            + QString::fromUtf16(operatorInfo(condition.op).token).toLatin1();
        for (const FieldValue& value : condition.values) {
            out += ' ';
            writeValue(out, value);
        }
        out += '\n';
    }
    out += indent + "end\n";
}

// --- Reading

struct Damaged
{
};

// The words of one line; texts in quotes come back without them.
struct Token
{
    QString text;
    bool quoted = false;
};

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    throw Damaged();
}

std::vector<Token> tokens(QStringView line)
{
    std::vector<Token> result;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] == u' ') {
            ++i;
            continue;
        }
        Token token;
        if (line[i] != u'"') {
            const qsizetype start = i;
            while (i < line.size() && line[i] != u' ') {
                if (line[i] == u'"')
                    throw Damaged();
                ++i;
            }
            token.text = line.sliced(start, i - start).toString();
            result.push_back(std::move(token));
            continue;
        }
        token.quoted = true;
        for (++i;; ++i) {
            if (i >= line.size())
                throw Damaged();
            const QChar c = line[i];
            if (c == u'"')
                break;
            if (c != u'\\') {
                token.text += c;
                continue;
            }
            if (++i >= line.size())
                throw Damaged();
            switch (line[i].unicode()) {
            case u'"':
                token.text += u'"';
                break;
            case u'\\':
                token.text += u'\\';
                break;
            case u'n':
                token.text += u'\n';
                break;
            case u'r':
                token.text += u'\r';
                break;
            case u't':
                token.text += u'\t';
                break;
            case u'u': {
                if (i + 4 >= line.size())
                    throw Damaged();
                char16_t code = 0;
                for (int k = 1; k <= 4; ++k)
                    code = char16_t(code * 16 + hexDigit(line[i + k]));
                token.text += QChar(code);
                i += 4;
                break;
            }
            default:
                throw Damaged();
            }
        }
        ++i;
        if (i < line.size() && line[i] != u' ')
            throw Damaged();
        result.push_back(std::move(token));
    }
    return result;
}

std::optional<qint32> wholeNumber(QStringView text)
{
    const QByteArray bytes = text.toLatin1();
    qint32 number = 0;
    const auto [end, error]
        = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), number);
    if (bytes.isEmpty() || error != std::errc() || end != bytes.constData() + bytes.size())
        return std::nullopt;
    return number;
}

FieldValue dateValue(QStringView text)
{
    // The year may be negative: split at the last two hyphens.
    const qsizetype second = text.lastIndexOf(u'-');
    const qsizetype first = second > 0 ? text.lastIndexOf(u'-', second - 1) : -1;
    if (first <= 0 || second - first != 3 || text.size() - second != 3)
        throw Damaged();
    const std::optional<qint32> year = wholeNumber(text.first(first));
    const std::optional<qint32> month = wholeNumber(text.sliced(first + 1, 2));
    const std::optional<qint32> day = wholeNumber(text.sliced(second + 1));
    if (!year || !month || !day || *month < 0 || *day < 0)
        throw Damaged();
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        throw Damaged();
    return date;
}

FieldValue amountValue(QStringView text)
{
    const QByteArray bytes = text.toLatin1();
    double amount = 0;
    const auto [end, error]
        = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), amount);
    if (bytes.isEmpty() || error != std::errc() || end != bytes.constData() + bytes.size())
        throw Damaged();
    return amount;
}

// The values from the token at, moving past them.
std::vector<FieldValue> values(const std::vector<Token>& line, std::size_t at)
{
    std::vector<FieldValue> result;
    while (at < line.size()) {
        const Token& token = line[at++];
        if (token.quoted) {
            result.emplace_back(token.text);
            continue;
        }
        if (token.text == u"blank") {
            result.emplace_back();
            continue;
        }
        if (at >= line.size() || line[at].quoted)
            throw Damaged();
        const QString& argument = line[at++].text;
        if (token.text == u"integer") {
            const std::optional<qint32> number = wholeNumber(argument);
            if (!number)
                throw Damaged();
            result.emplace_back(*number);
        } else if (token.text == u"amount") {
            result.push_back(amountValue(argument));
        } else if (token.text == u"date") {
            result.push_back(dateValue(argument));
        } else {
            throw Damaged();
        }
    }
    return result;
}

class Reader
{
public:
    explicit Reader(QStringList lines)
        : m_lines(std::move(lines))
    { }

    FilterExpression read()
    {
        if (m_lines.isEmpty() || m_lines.front() != QLatin1StringView(header))
            throw Damaged();
        m_next = 1;
        const std::vector<Token> first = nextLine();
        FilterExpression filter;
        filter.root = group(first);
        if (m_next < m_lines.size() && !remainingIsBlank())
            throw Damaged();
        return filter;
    }

private:
    bool remainingIsBlank() const
    {
        for (qsizetype i = m_next; i < m_lines.size(); ++i) {
            if (!m_lines[i].trimmed().isEmpty())
                return false;
        }
        return true;
    }

    std::vector<Token> nextLine()
    {
        while (m_next < m_lines.size()) {
            std::vector<Token> line = tokens(m_lines[m_next++]);
            if (!line.empty())
                return line;
        }
        throw Damaged();
    }

    static GroupOperator groupOperator(const QString& token)
    {
        for (const GroupOperator op :
            {GroupOperator::And, GroupOperator::Or, GroupOperator::NotAnd, GroupOperator::NotOr}) {
            if (token == QStringView(groupOperatorToken(op)))
                return op;
        }
        throw Damaged();
    }

    FilterGroup group(const std::vector<Token>& line)
    {
        if (line.size() != 2 || line[0].quoted || line[0].text != u"group" || line[1].quoted)
            throw Damaged();
        FilterGroup result;
        result.op = groupOperator(line[1].text);
        for (;;) {
            const std::vector<Token> next = nextLine();
            if (next[0].quoted)
                throw Damaged();
            if (next[0].text == u"end") {
                if (next.size() != 1)
                    throw Damaged();
                return result;
            }
            if (next[0].text == u"group")
                result.items.emplace_back(group(next));
            else
                result.items.emplace_back(condition(next));
        }
    }

    static FilterCondition condition(const std::vector<Token>& line)
    {
        if (line.size() < 3 || line[0].text != u"condition" || line[1].quoted || line[2].quoted)
            throw Damaged();
        FilterCondition result;
        const std::optional<Field> field = findField(line[1].text);
        if (!field)
            throw Damaged();
        result.column = *field;
        bool known = false;
        for (const OperatorInfo& info : allOperators()) {
            if (line[2].text == QStringView(info.token)) {
                result.op = info.op;
                known = true;
            }
        }
        if (!known)
            throw Damaged();
        result.values = values(line, 3);
        return result;
    }

    QStringList m_lines;
    qsizetype m_next = 0;
};

[[noreturn]] void cannotBuild()
{
    throw Error(componentText(u"Can't build filter from source"));
}

} // namespace

QByteArray write(const FilterExpression& filter)
{
    QByteArray out = header.toByteArray() + '\n';
    writeGroup(out, filter.root, 0);
    return out;
}

FilterExpression read(QByteArrayView bytes, const FilterColumns& columns)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        cannotBuild();
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    FilterExpression filter;
    try {
        filter = Reader(std::move(lines)).read();
        validateFilter(filter, columns);
    } catch (const Damaged&) {
        cannotBuild();
    } catch (const Error&) {
        cannotBuild();
    }
    return filter;
}

FilterExpression load(const QString& path, const FilterColumns& columns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(QStringLiteral("Cannot open file \"%1\". %2")
                        .arg(QDir::toNativeSeparators(path), systemErrorText(file.errorString())));
    }
    return read(file.readAll(), columns);
}

void save(const QString& path, const FilterExpression& filter)
{
    writeFileAtomically(path, write(filter));
}

} // namespace FilterFile
