#pragma once

#include "filtercolumns.h"
#include "filterexpression.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

// A filter while the user edits it in the filter builder: the same tree as a
// filter expression, but each value as the text typed, which may not yet be
// a value its column can take.
class FilterDraft
{
public:
    struct Condition
    {
        Field column = Field::Titolo;
        FilterOperator op = FilterOperator::Equal;
        QStringList values; // the empty text is the blank value
    };
    struct Node;
    struct Group
    {
        GroupOperator op = GroupOperator::And;
        std::vector<Node> items;
    };
    struct Node
    {
        std::variant<Condition, Group> content;
    };
    // A row of the tree: the positions of its members from the top group down;
    // the top group itself is the empty path.
    using Path = std::vector<int>;

    explicit FilterDraft(FilterColumns columns);

    const FilterColumns& columns() const { return m_columns; }

    void load(const FilterExpression& filter);
    // The filter, or nothing while a value is invalid.
    std::optional<FilterExpression> expression() const;

    const Group& root() const { return m_root; }
    bool isGroup(const Path& path) const;
    const Group& group(const Path& path) const;
    const Condition& condition(const Path& path) const;
    // The group that holds a row.
    static Path parentOf(const Path& path);

    // A new condition on the first column, "equals" with a blank value, at the
    // end of the group or, with a position, before that member.
    Path addCondition(const Path& group, int position = -1);
    // A new "AND" group holding one new condition.
    Path addGroup(const Path& group, int position = -1);
    void remove(const Path& path);
    void clear();

    void setGroupOperator(const Path& group, GroupOperator op);
    // The values stay while the column's kind stays; an operator the new
    // column does not offer becomes "equals".
    void setColumn(const Path& condition, Field column);
    // Keeps the values the new operator can take, adding blank ones as needed.
    void setOperator(const Path& condition, FilterOperator op);
    void setValue(const Path& condition, int index, const QString& text);
    // "in" and "not in": one more blank value, or one fewer (never none).
    void addListValue(const Path& condition);
    void removeListValue(const Path& condition);

    bool isValueValid(const Path& condition, int index) const;
    bool isConditionValid(const Path& condition) const;
    // The operators a column offers, in the order of the operator lists.
    static std::vector<FilterOperator> operatorsFor(Field column);

private:
    Node& node(const Path& path);
    const Node& node(const Path& path) const;
    Group& groupAt(const Path& path);
    Condition& conditionAt(const Path& path);
    Condition newCondition() const;
    std::optional<FilterGroup> build(const Group& group) const;

    FilterColumns m_columns;
    Group m_root;
};
