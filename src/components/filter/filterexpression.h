#pragma once

#include "bookrecord.h"
#include "fields.h"

#include <QString>

#include <span>
#include <variant>
#include <vector>

// The kinds of column a filter compares: texts by the regional collation,
// numbers as numbers, dates as dates.
enum class FilterKind : unsigned char { Text, Number, Date };

FilterKind filterKindOf(FieldKind kind);
inline FilterKind filterKindOf(Field field)
{
    return filterKindOf(fieldDef(field).kind);
}

enum class FilterOperator : unsigned char {
    Equal,
    NotEqual,
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
    Like,
    NotLike,
    Between,
    NotBetween,
    In,
    NotIn,
    Yesterday,
    Today,
    Tomorrow,
    LastWeek,
    LastMonth,
    LastYear,
    ThisWeek,
    ThisMonth,
    ThisYear,
    NextWeek,
    NextMonth,
    NextYear,
    Blank,
    NotBlank,
    BeginsWith,
    NotBeginsWith,
    EndsWith,
    NotEndsWith,
    Contains,
    NotContains,
};

// How many values an operator takes.
enum class Arity : unsigned char { None, One, Two, List };

struct OperatorInfo
{
    FilterOperator op;
    // The component text of its name, as the dialogs and the filter bar show it.
    const char16_t* name;
    // The word that stands for it in filter files.
    const char16_t* token;
    Arity arity;
    bool text; // offered on text columns
    bool number;
    bool date;
};

const OperatorInfo& operatorInfo(FilterOperator op);
// How many values an operator of that arity takes when it holds count: a list
// keeps its values, at least one.
std::size_t valueCount(Arity arity, std::size_t count);
std::span<const OperatorInfo> allOperators();
bool operatorApplies(FilterOperator op, FilterKind kind);
// The operator's name as shown, fetched through the component text registry.
QString operatorName(FilterOperator op);

// The operator that joins the members of a group, possibly negated.
enum class GroupOperator : unsigned char { And, Or, NotAnd, NotOr };

// "AND", "OR", "NOT AND", "NOT OR" as shown.
QString groupOperatorName(GroupOperator op);
const char16_t* groupOperatorToken(GroupOperator op);
inline bool isNegated(GroupOperator op)
{
    return op == GroupOperator::NotAnd || op == GroupOperator::NotOr;
}
inline bool isConjunction(GroupOperator op)
{
    return op == GroupOperator::And || op == GroupOperator::NotAnd;
}

// One comparison of a column with the condition's values. A missing value
// (std::monostate) stands for the blank value.
struct FilterCondition
{
    Field column = Field::Titolo;
    FilterOperator op = FilterOperator::Equal;
    std::vector<FieldValue> values;

    bool operator==(const FilterCondition& other) const = default;
};

struct FilterNode;

// Conditions and subgroups joined by one operator. A group without members
// filters nothing and is left out wherever it stands.
struct FilterGroup
{
    GroupOperator op = GroupOperator::And;
    std::vector<FilterNode> items;

    bool operator==(const FilterGroup& other) const;
    // True when no condition stands anywhere below it.
    bool isEmpty() const;
};

struct FilterNode
{
    std::variant<FilterCondition, FilterGroup> content;

    FilterNode(FilterCondition condition)
        : content(std::move(condition))
    { }
    FilterNode(FilterGroup group)
        : content(std::move(group))
    { }

    const FilterCondition* condition() const { return std::get_if<FilterCondition>(&content); }
    const FilterGroup* group() const { return std::get_if<FilterGroup>(&content); }
    FilterCondition* condition() { return std::get_if<FilterCondition>(&content); }
    FilterGroup* group() { return std::get_if<FilterGroup>(&content); }

    bool operator==(const FilterNode& other) const = default;
};

// A whole filter: its top group. The empty filter lets every row through.
struct FilterExpression
{
    FilterGroup root;

    bool isEmpty() const { return root.isEmpty(); }
    bool operator==(const FilterExpression& other) const = default;
};

// True when the value is blank: missing, or the empty text.
bool isBlankValue(const FieldValue& value);

// The members of the top group that concern only the given column, as one
// group: what a column's own filter shows. Members joining several columns
// are not part of it.
FilterGroup columnFilter(const FilterExpression& filter, Field column);
bool touchesOnlyColumn(const FilterNode& node, Field column);
// The filter with the column's own members replaced by the group (dropped when
// the group is empty). The top group becomes an "AND" group when it was not
// one and other members stay beside the column's.
FilterExpression withColumnFilter(FilterExpression filter, Field column, FilterGroup group);
