#include "filterexpression.h"

#include "componenttexts.h"

#include <algorithm>
#include <array>

namespace {

using enum FilterOperator;

// Names, file words and the column kinds each operator is offered on.
constexpr std::array<OperatorInfo, 32> operators {{
    {Equal, u"equals", u"equals", Arity::One, true, true, true},
    {NotEqual, u"does not equal", u"not-equals", Arity::One, true, true, true},
    {Less, u"is less than", u"less", Arity::One, true, true, true},
    {LessOrEqual, u"is less than or equal to", u"less-or-equal", Arity::One, true, true, true},
    {Greater, u"is greater than", u"greater", Arity::One, true, true, true},
    {GreaterOrEqual, u"is greater than or equal to", u"greater-or-equal", Arity::One, true, true,
        true},
    {Like, u"like", u"like", Arity::One, true, false, false},
    {NotLike, u"not like", u"not-like", Arity::One, true, false, false},
    {Between, u"between", u"between", Arity::Two, true, true, true},
    {NotBetween, u"not between", u"not-between", Arity::Two, true, true, true},
    {In, u"in", u"in", Arity::List, true, true, true},
    {NotIn, u"not in", u"not-in", Arity::List, true, true, true},
    {Yesterday, u"is yesterday", u"yesterday", Arity::None, false, false, true},
    {Today, u"is today", u"today", Arity::None, false, false, true},
    {Tomorrow, u"is tomorrow", u"tomorrow", Arity::None, false, false, true},
    {LastWeek, u"is last week", u"last-week", Arity::None, false, false, true},
    {LastMonth, u"is last month", u"last-month", Arity::None, false, false, true},
    {LastYear, u"is last year", u"last-year", Arity::None, false, false, true},
    {ThisWeek, u"is this week", u"this-week", Arity::None, false, false, true},
    {ThisMonth, u"is this month", u"this-month", Arity::None, false, false, true},
    {ThisYear, u"is this year", u"this-year", Arity::None, false, false, true},
    {NextWeek, u"is next week", u"next-week", Arity::None, false, false, true},
    {NextMonth, u"is next month", u"next-month", Arity::None, false, false, true},
    {NextYear, u"is next year", u"next-year", Arity::None, false, false, true},
    {Blank, u"is blank", u"blank", Arity::None, true, true, true},
    {NotBlank, u"is not blank", u"not-blank", Arity::None, true, true, true},
    {BeginsWith, u"begins with", u"begins-with", Arity::One, true, false, false},
    {NotBeginsWith, u"does not begin with", u"not-begins-with", Arity::One, true, false, false},
    {EndsWith, u"ends with", u"ends-with", Arity::One, true, false, false},
    {NotEndsWith, u"does not end with", u"not-ends-with", Arity::One, true, false, false},
    {Contains, u"contains", u"contains", Arity::One, true, false, false},
    {NotContains, u"does not contain", u"not-contains", Arity::One, true, false, false},
}};

bool touchesOnly(const FilterGroup& group, Field column)
{
    for (const FilterNode& item : group.items) {
        if (!touchesOnlyColumn(item, column))
            return false;
    }
    return true;
}

} // namespace

FilterKind filterKindOf(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
        return FilterKind::Text;
    case FieldKind::Date:
        return FilterKind::Date;
    case FieldKind::Integer:
    case FieldKind::Float:
    case FieldKind::RecordNumber:
        break;
    }
    return FilterKind::Number;
}

const OperatorInfo& operatorInfo(FilterOperator op)
{
    return operators[std::size_t(op)];
}

std::size_t valueCount(Arity arity, std::size_t count)
{
    switch (arity) {
    case Arity::None:
        return 0;
    case Arity::One:
        return 1;
    case Arity::Two:
        return 2;
    case Arity::List:
        break;
    }
    return std::max<std::size_t>(count, 1);
}

std::span<const OperatorInfo> allOperators()
{
    return operators;
}

bool operatorApplies(FilterOperator op, FilterKind kind)
{
    const OperatorInfo& info = operatorInfo(op);
    switch (kind) {
    case FilterKind::Text:
        return info.text;
    case FilterKind::Number:
        return info.number;
    case FilterKind::Date:
        return info.date;
    }
    return false;
}

QString operatorName(FilterOperator op)
{
    return componentText(operatorInfo(op).name);
}

QString groupOperatorName(GroupOperator op)
{
    switch (op) {
    case GroupOperator::And:
        return componentText(u"AND");
    case GroupOperator::Or:
        return componentText(u"OR");
    case GroupOperator::NotAnd:
        return componentText(u"NOT AND");
    case GroupOperator::NotOr:
        break;
    }
    return componentText(u"NOT OR");
}

const char16_t* groupOperatorToken(GroupOperator op)
{
    switch (op) {
    case GroupOperator::And:
        return u"and";
    case GroupOperator::Or:
        return u"or";
    case GroupOperator::NotAnd:
        return u"not-and";
    case GroupOperator::NotOr:
        break;
    }
    return u"not-or";
}

// Declared out of line: FilterNode is incomplete where FilterGroup is defined.
bool FilterGroup::operator==(const FilterGroup& other) const
{
    return op == other.op && items == other.items;
}

bool FilterGroup::isEmpty() const
{
    for (const FilterNode& item : items) {
        const FilterGroup* group = item.group();
        if (!group || !group->isEmpty())
            return false;
    }
    return true;
}

bool isBlankValue(const FieldValue& value)
{
    if (const QString* text = std::get_if<QString>(&value))
        return text->isEmpty();
    return isNullValue(value);
}

bool touchesOnlyColumn(const FilterNode& node, Field column)
{
    if (const FilterCondition* condition = node.condition())
        return condition->column == column;
    return touchesOnly(*node.group(), column);
}

FilterGroup columnFilter(const FilterExpression& filter, Field column)
{
    const FilterGroup& root = filter.root;
    if (root.isEmpty())
        return {};
    if (root.op != GroupOperator::And)
        return touchesOnly(root, column) ? root : FilterGroup();
    FilterGroup own;
    for (const FilterNode& item : root.items) {
        const FilterGroup* group = item.group();
        if (group && group->isEmpty())
            continue;
        if (touchesOnlyColumn(item, column))
            own.items.push_back(item);
    }
    if (own.items.size() == 1 && own.items.front().group())
        return *own.items.front().group();
    return own;
}

FilterExpression withColumnFilter(FilterExpression filter, Field column, FilterGroup group)
{
    FilterGroup& root = filter.root;
    if (root.op != GroupOperator::And) {
        if (touchesOnly(root, column)) {
            root = FilterGroup();
        } else {
            FilterGroup outer;
            outer.items.emplace_back(std::move(root));
            root = std::move(outer);
        }
    }
    std::erase_if(root.items, [column](const FilterNode& item) {
        const FilterGroup* inner = item.group();
        return (inner && inner->isEmpty()) || touchesOnlyColumn(item, column);
    });
    if (group.isEmpty())
        return filter;
    if (group.items.size() == 1 && !isNegated(group.op))
        root.items.push_back(std::move(group.items.front()));
    else
        root.items.emplace_back(std::move(group));
    return filter;
}
