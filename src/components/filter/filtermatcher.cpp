#include "filtermatcher.h"

#include "codepage.h"
#include "collation.h"
#include "componenttexts.h"
#include "error.h"
#include "filtercolumns.h"
#include "textmatch.h"
#include "valuetext.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

using enum FilterOperator;

[[noreturn]] void cannotBuild()
{
    throw Error(componentText(u"Can't build filter from source"));
}

[[noreturn]] void invalidValue()
{
    throw Error(componentText(u"Invalid value"));
}

void validateCondition(const FilterCondition& condition, const FilterColumns& columns)
{
    if (!columns.find(condition.column) || std::size_t(condition.op) >= allOperators().size()
        || !operatorApplies(condition.op, filterKindOf(condition.column)))
        cannotBuild();
    const Arity arity = operatorInfo(condition.op).arity;
    if (condition.values.size() != valueCount(arity, condition.values.size()))
        invalidValue();
    for (const FieldValue& value : condition.values) {
        if (!FilterColumns::suits(condition.column, value))
            invalidValue();
    }
}

void validateGroup(const FilterGroup& group, const FilterColumns& columns)
{
    for (const FilterNode& item : group.items) {
        if (const FilterCondition* condition = item.condition())
            validateCondition(*condition, columns);
        else
            validateGroup(*item.group(), columns);
    }
}

// The operator without its negation, and whether it was negated.
std::pair<FilterOperator, bool> positiveForm(FilterOperator op)
{
    switch (op) {
    case NotEqual:
        return {Equal, true};
    case NotLike:
        return {Like, true};
    case NotBetween:
        return {Between, true};
    case NotIn:
        return {In, true};
    case NotBlank:
        return {Blank, true};
    case NotBeginsWith:
        return {BeginsWith, true};
    case NotEndsWith:
        return {EndsWith, true};
    case NotContains:
        return {Contains, true};
    default:
        break;
    }
    return {op, false};
}

// An amount as the grid shows it, in cents: the pattern "######0.00" rounds to
// the nearest cent, halves away from zero.
double shownCents(double value)
{
    if (!std::isfinite(value))
        return value;
    const double scaled = value * 100;
    if (std::fabs(scaled) >= 0x1p52)
        return scaled;
    if (std::fabs(scaled) < 0x1p40) {
        // The product is exact to far better than this margin here.
        const double floor = std::floor(scaled);
        const double fraction = scaled - floor;
        if (std::fabs(fraction - 0.5) > 1e-3)
            return fraction < 0.5 ? floor : floor + 1;
    }
    // Close to a half cent: as the pattern writes it.
    char text[ValueText::maxFormattedAmountSize];
    const int size = ValueText::formatAmount(value, '.', text);
    double shown = 0;
    std::from_chars(text, text + size, shown);
    return std::round(shown * 100);
}

} // namespace

// One condition, ready to test rows.
class FilterMatcher::Test
{
public:
    explicit Test(bool negated)
        : m_negated(negated)
    { }
    virtual ~Test() = default;
    bool test(RowId row) const { return holds(row) != m_negated; }
    // A rough cost of one test, so that a group tries its cheap members first.
    virtual int cost() const = 0;

protected:
    virtual bool holds(RowId row) const = 0;

private:
    bool m_negated;
};

struct FilterMatcher::Group
{
    bool conjunction = true;
    bool negated = false;
    std::vector<std::unique_ptr<Test>> tests;
    std::vector<Group> groups;

    bool matches(RowId row) const
    {
        // A conjunction stops at the first member that fails, a disjunction at
        // the first that passes.
        const bool stopAt = !conjunction;
        bool result = conjunction;
        for (const std::unique_ptr<Test>& test : tests) {
            if (test->test(row) == stopAt) {
                result = stopAt;
                break;
            }
        }
        if (result == conjunction) {
            for (const Group& group : groups) {
                if (group.matches(row) == stopAt) {
                    result = stopAt;
                    break;
                }
            }
        }
        return result != negated;
    }
};

namespace {

using Test = FilterMatcher::Test;

// --- Numbers and dates: values mapped to one ordered key.

template<typename Key>
class OrderedTest : public Test
{
public:
    using KeyOf = std::function<std::optional<Key>(RowId)>;

    // values: the condition's values as keys, nothing for a blank value.
    OrderedTest(FilterOperator op, bool negated, KeyOf key, std::vector<std::optional<Key>> values,
        int cost)
        : Test(negated)
        , m_op(op)
        , m_key(std::move(key))
        , m_values(std::move(values))
        , m_cost(cost)
    {
        if (m_op == Between && m_values[0] && m_values[1] && *m_values[1] < *m_values[0])
            std::swap(m_values[0], m_values[1]);
        for (const std::optional<Key>& value : m_values)
            m_listHasBlank = m_listHasBlank || !value;
    }

    int cost() const override { return m_cost; }

protected:
    bool holds(RowId row) const override
    {
        const std::optional<Key> key = m_key(row);
        switch (m_op) {
        case Blank:
            return !key;
        case Equal:
            return m_values[0] ? key && *key == *m_values[0] : !key;
        case In:
            if (!key)
                return m_listHasBlank;
            for (const std::optional<Key>& value : m_values) {
                if (value && *value == *key)
                    return true;
            }
            return false;
        default:
            break;
        }
        if (!key || !m_values[0])
            return false;
        const Key& x = *key;
        const Key& v = *m_values[0];
        switch (m_op) {
        case Less:
            return x < v;
        case LessOrEqual:
            return x <= v;
        case Greater:
            return x > v;
        case GreaterOrEqual:
            return x >= v;
        case Between:
            return m_values[1] && v <= x && x <= *m_values[1];
        default:
            break;
        }
        return false;
    }

private:
    FilterOperator m_op;
    KeyOf m_key;
    std::vector<std::optional<Key>> m_values;
    int m_cost;
    bool m_listHasBlank = false;
};

std::optional<double> numberKey(const FieldValue& value, bool cents)
{
    double number = 0;
    if (const qint32* whole = std::get_if<qint32>(&value))
        number = *whole;
    else if (const double* amount = std::get_if<double>(&value))
        number = *amount;
    else
        return std::nullopt;
    return cents ? shownCents(number) : number;
}

std::optional<qint64> dayKey(const FieldValue& value)
{
    if (const QDate* date = std::get_if<QDate>(&value); date && date->isValid())
        return date->toJulianDay();
    return std::nullopt;
}

// The first and last day of the period a relative date operator names.
std::pair<QDate, QDate> relativeRange(FilterOperator op, QDate today)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    const QDate firstOfMonth(today.year(), today.month(), 1);
    const QDate firstOfYear(today.year(), 1, 1);
    auto week = [&](int offset) {
        const QDate start = monday.addDays(7 * offset);
        return std::pair(start, start.addDays(6));
    };
    auto month = [&](int offset) {
        const QDate start = firstOfMonth.addMonths(offset);
        return std::pair(start, start.addMonths(1).addDays(-1));
    };
    auto year = [&](int offset) {
        const QDate start = firstOfYear.addYears(offset);
        return std::pair(start, start.addYears(1).addDays(-1));
    };
    switch (op) {
    case Yesterday:
        return {today.addDays(-1), today.addDays(-1)};
    case Today:
        return {today, today};
    case Tomorrow:
        return {today.addDays(1), today.addDays(1)};
    case LastWeek:
        return week(-1);
    case ThisWeek:
        return week(0);
    case NextWeek:
        return week(1);
    case LastMonth:
        return month(-1);
    case ThisMonth:
        return month(0);
    case NextMonth:
        return month(1);
    case LastYear:
        return year(-1);
    case ThisYear:
        return year(0);
    case NextYear:
        return year(1);
    default:
        break;
    }
    return {today, today};
}

bool isRelativeDate(FilterOperator op)
{
    return op >= Yesterday && op <= NextYear;
}

std::unique_ptr<Test> numberTest(const FilterCondition& condition, const FilterColumn& column)
{
    const bool cents = fieldDef(column.field).kind == FieldKind::Float;
    auto value = column.value;
    auto key = [value, cents](RowId row) { return numberKey(value(row), cents); };
    std::vector<std::optional<double>> values;
    for (const FieldValue& v : condition.values)
        values.push_back(numberKey(v, cents));
    const auto [op, negated] = positiveForm(condition.op);
    return std::make_unique<OrderedTest<double>>(op, negated, key, values, 10);
}

std::unique_ptr<Test> dateTest(
    const FilterCondition& condition, const FilterColumn& column, QDate today)
{
    auto value = column.value;
    auto key = [value](RowId row) { return dayKey(value(row)); };
    std::vector<std::optional<qint64>> values;
    FilterOperator op = condition.op;
    bool negated = false;
    if (isRelativeDate(op)) {
        const auto [first, last] = relativeRange(op, today);
        values = {first.toJulianDay(), last.toJulianDay()};
        op = Between;
    } else {
        for (const FieldValue& v : condition.values)
            values.push_back(dayKey(v));
        std::tie(op, negated) = positiveForm(op);
    }
    return std::make_unique<OrderedTest<qint64>>(op, negated, key, values, 10);
}

// --- Texts

// Bytes of the code page that the collation ignores altogether (control
// characters and the like): texts that differ only by them are equal.
std::array<bool, 256> ignorableBytes(const Collation& collation)
{
    std::array<bool, 256> ignorable {};
    for (int byte = 0; byte < 256; ++byte) {
        const char text[2] = {'x', char(byte)};
        ignorable[std::size_t(byte)] = collation.compareBytes(QByteArrayView(text, 2), "x") == 0;
    }
    return ignorable;
}

// A row's text in the code page.
class TextSource
{
public:
    explicit TextSource(const FilterColumn& column)
        : m_bytes(column.textBytes)
        , m_value(column.value)
    { }

    // holder keeps the bytes alive when they had to be made.
    QByteArrayView operator()(RowId row, QByteArray& holder) const
    {
        if (m_bytes)
            return m_bytes(row);
        const FieldValue value = m_value(row);
        if (const QString* text = std::get_if<QString>(&value))
            holder = CodePage::windows1252().encode(*text);
        return holder;
    }

private:
    std::function<QByteArrayView(RowId)> m_bytes;
    std::function<FieldValue(RowId)> m_value;
};

// A text of a condition, ready for comparison.
struct TextValue
{
    QString text;
    QByteArray bytes; // in the code page
    bool blank = true;
    // Bytes alone decide equality only for texts of the code page without
    // characters the collation ignores.
    bool needsCollation = false;

    TextValue(const FieldValue& value, const std::array<bool, 256>& ignorable)
    {
        if (const QString* string = std::get_if<QString>(&value))
            text = *string;
        blank = text.isEmpty();
        bytes = CodePage::windows1252().encode(text);
        needsCollation = CodePage::windows1252().decode(bytes) != text;
        for (const char c : std::as_const(bytes))
            needsCollation = needsCollation || ignorable[static_cast<unsigned char>(c)];
    }
};

class TextTest : public Test
{
public:
    TextTest(FilterOperator op, bool negated, const FilterColumn& column,
        const std::vector<FieldValue>& values, std::shared_ptr<const Collation> collation,
        const std::array<bool, 256>& ignorable)
        : Test(negated)
        , m_op(op)
        , m_source(column)
        , m_collation(std::move(collation))
        , m_ignorable(ignorable)
    {
        for (const FieldValue& value : values)
            m_values.emplace_back(value, ignorable);
        for (const TextValue& value : m_values)
            m_listHasBlank = m_listHasBlank || value.blank;
        if (m_op == Between && !m_values[0].blank && !m_values[1].blank
            && m_collation->compare(m_values[1].text, m_values[0].text) < 0)
            std::swap(m_values[0], m_values[1]);
        if (!m_values.empty()) {
            // Pattern operators ignore letter case: the pattern is folded once
            // and each row's text as it is matched. A character outside the
            // code page matches nothing.
            const TextValue& pattern = m_values[0];
            m_folded = TextMatch::folded(pattern.bytes);
            m_patternPossible = CodePage::windows1252().decode(pattern.bytes) == pattern.text;
            if (m_op == Like)
                m_like = TextMatch::LikePattern(m_folded);
        }
    }

    int cost() const override
    {
        switch (m_op) {
        case Blank:
            return 5;
        case Equal:
        case In:
        case BeginsWith:
        case EndsWith:
            return 20;
        case Like:
        case Contains:
            return 40;
        default:
            break;
        }
        return 100; // the collation
    }

protected:
    bool holds(RowId row) const override
    {
        QByteArray holder;
        const QByteArrayView text = m_source(row, holder);
        switch (m_op) {
        case Blank:
            return text.isEmpty();
        case Equal:
            return m_values[0].blank ? text.isEmpty() : !text.isEmpty() && equal(text, m_values[0]);
        case In:
            if (text.isEmpty())
                return m_listHasBlank;
            for (const TextValue& value : m_values) {
                if (!value.blank && equal(text, value))
                    return true;
            }
            return false;
        case Like:
            return m_patternPossible && m_like.matches(TextMatch::FoldedText(text).view());
        case BeginsWith:
            return m_patternPossible && TextMatch::startsWithFolded(text, m_folded);
        case EndsWith:
            return m_patternPossible && TextMatch::endsWithFolded(text, m_folded);
        case Contains:
            return m_patternPossible
                && TextMatch::FoldedText(text).view().indexOf(QByteArrayView(m_folded)) >= 0;
        default:
            break;
        }
        if (text.isEmpty() || m_values[0].blank)
            return false;
        switch (m_op) {
        case Less:
            return compare(text, m_values[0]) < 0;
        case LessOrEqual:
            return compare(text, m_values[0]) <= 0;
        case Greater:
            return compare(text, m_values[0]) > 0;
        case GreaterOrEqual:
            return compare(text, m_values[0]) >= 0;
        case Between:
            return !m_values[1].blank && compare(text, m_values[0]) >= 0
                && compare(text, m_values[1]) <= 0;
        default:
            break;
        }
        return false;
    }

private:
    bool equal(QByteArrayView text, const TextValue& value) const
    {
        if (!value.needsCollation) {
            // Characters the collation ignores only lengthen a text, so a
            // text as long as the value must be the value itself.
            if (text.size() <= value.bytes.size())
                return text == QByteArrayView(value.bytes);
            bool ignores = false;
            for (const char c : text)
                ignores = ignores || m_ignorable[static_cast<unsigned char>(c)];
            if (!ignores)
                return false;
        }
        return compare(text, value) == 0;
    }

    int compare(QByteArrayView text, const TextValue& value) const
    {
        char16_t buffer[512];
        std::u16string heap;
        char16_t* utf16 = buffer;
        if (text.size() > qsizetype(std::size(buffer))) {
            heap.resize(std::size_t(text.size()));
            utf16 = heap.data();
        }
        CodePage::windows1252().decodeInto(text, utf16);
        return m_collation->compare(QStringView(utf16, text.size()), value.text);
    }

    FilterOperator m_op;
    TextSource m_source;
    std::shared_ptr<const Collation> m_collation;
    std::array<bool, 256> m_ignorable;
    std::vector<TextValue> m_values;
    bool m_listHasBlank = false;
    QByteArray m_folded;
    bool m_patternPossible = true;
    TextMatch::LikePattern m_like;
};

class Builder
{
public:
    Builder(const FilterColumns& columns, QDate today)
        : m_columns(columns)
        , m_today(today)
    { }

    FilterMatcher::Group group(const FilterGroup& source)
    {
        FilterMatcher::Group result;
        result.conjunction = isConjunction(source.op);
        result.negated = isNegated(source.op);
        for (const FilterNode& item : source.items) {
            if (const FilterCondition* condition = item.condition()) {
                result.tests.push_back(test(*condition));
            } else if (!item.group()->isEmpty()) {
                result.groups.push_back(group(*item.group()));
            }
        }
        std::stable_sort(result.tests.begin(), result.tests.end(),
            [](const auto& a, const auto& b) { return a->cost() < b->cost(); });
        return result;
    }

private:
    std::unique_ptr<Test> test(const FilterCondition& condition)
    {
        const FilterColumn& column = *m_columns.find(condition.column);
        switch (column.kind()) {
        case FilterKind::Number:
            return numberTest(condition, column);
        case FilterKind::Date:
            return dateTest(condition, column, m_today);
        case FilterKind::Text:
            break;
        }
        if (!m_ignorable)
            m_ignorable = ignorableBytes(m_columns.collation());
        const auto [op, negated] = positiveForm(condition.op);
        return std::make_unique<TextTest>(
            op, negated, column, condition.values, m_columns.sharedCollation(), *m_ignorable);
    }

    const FilterColumns& m_columns;
    QDate m_today;
    std::optional<std::array<bool, 256>> m_ignorable;
};

} // namespace

void validateFilter(const FilterExpression& filter, const FilterColumns& columns)
{
    validateGroup(filter.root, columns);
}

FilterMatcher::FilterMatcher(
    const FilterExpression& filter, const FilterColumns& columns, QDate today)
{
    validateFilter(filter, columns);
    if (!filter.isEmpty())
        m_root = std::make_unique<Group>(Builder(columns, today).group(filter.root));
}

FilterMatcher::~FilterMatcher() = default;
FilterMatcher::FilterMatcher(FilterMatcher&&) noexcept = default;
FilterMatcher& FilterMatcher::operator=(FilterMatcher&&) noexcept = default;

bool FilterMatcher::matchesEveryRow() const
{
    return !m_root;
}

bool FilterMatcher::matches(RowId row) const
{
    return !m_root || m_root->matches(row);
}

std::vector<RowId> FilterMatcher::select(std::span<const RowId> rows) const
{
    if (!m_root)
        return {rows.begin(), rows.end()};
    // The rows are tested in the order of their numbers, which is the order
    // in which the table holds them in memory, and given back in their own.
    RowId highest = 0;
    for (const RowId row : rows)
        highest = std::max(highest, row);
    const std::size_t words = std::size_t(highest) / 64 + 1;
    std::vector<uint64_t> present(words), passed(words);
    for (const RowId row : rows)
        present[row / 64] |= uint64_t(1) << (row % 64);
    for (std::size_t word = 0; word < words; ++word) {
        for (uint64_t bits = present[word]; bits != 0; bits &= bits - 1) {
            const auto row = RowId(word * 64 + std::size_t(std::countr_zero(bits)));
            if (m_root->matches(row))
                passed[word] |= uint64_t(1) << (row % 64);
        }
    }
    std::vector<RowId> result;
    for (const RowId row : rows) {
        if (passed[row / 64] & (uint64_t(1) << (row % 64)))
            result.push_back(row);
    }
    return result;
}
