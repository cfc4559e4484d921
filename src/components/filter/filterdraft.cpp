#include "filterdraft.h"

#include <stdexcept>

FilterDraft::FilterDraft(FilterColumns columns)
    : m_columns(std::move(columns))
{ }

void FilterDraft::load(const FilterExpression& filter)
{
    auto convert = [this](auto& self, const FilterGroup& source) -> Group {
        Group group;
        group.op = source.op;
        for (const FilterNode& item : source.items) {
            if (const FilterGroup* inner = item.group()) {
                group.items.push_back({self(self, *inner)});
                continue;
            }
            const FilterCondition& from = *item.condition();
            Condition condition;
            condition.column = from.column;
            condition.op = from.op;
            for (const FieldValue& value : from.values)
                condition.values << m_columns.formatValue(from.column, value);
            group.items.push_back({std::move(condition)});
        }
        return group;
    };
    m_root = convert(convert, filter.root);
}

std::optional<FilterGroup> FilterDraft::build(const Group& group) const
{
    FilterGroup result;
    result.op = group.op;
    for (const Node& item : group.items) {
        if (const Group* inner = std::get_if<Group>(&item.content)) {
            std::optional<FilterGroup> built = build(*inner);
            if (!built)
                return std::nullopt;
            result.items.emplace_back(std::move(*built));
            continue;
        }
        const Condition& from = std::get<Condition>(item.content);
        FilterCondition condition;
        condition.column = from.column;
        condition.op = from.op;
        for (const QString& text : from.values) {
            std::optional<FieldValue> value = m_columns.parseValue(from.column, text);
            if (!value)
                return std::nullopt;
            condition.values.push_back(std::move(*value));
        }
        result.items.emplace_back(std::move(condition));
    }
    return result;
}

std::optional<FilterExpression> FilterDraft::expression() const
{
    std::optional<FilterGroup> root = build(m_root);
    if (!root)
        return std::nullopt;
    return FilterExpression {std::move(*root)};
}

const FilterDraft::Node& FilterDraft::node(const Path& path) const
{
    const Group* group = &m_root;
    const Node* found = nullptr;
    for (const int index : path) {
        if (!group || index < 0 || std::size_t(index) >= group->items.size())
            throw std::out_of_range("no such row in the filter");
        found = &group->items[std::size_t(index)];
        group = std::get_if<Group>(&found->content);
    }
    if (!found)
        throw std::out_of_range("the top group is no member");
    return *found;
}

FilterDraft::Node& FilterDraft::node(const Path& path)
{
    return const_cast<Node&>(std::as_const(*this).node(path));
}

bool FilterDraft::isGroup(const Path& path) const
{
    return path.empty() || std::holds_alternative<Group>(node(path).content);
}

const FilterDraft::Group& FilterDraft::group(const Path& path) const
{
    return path.empty() ? m_root : std::get<Group>(node(path).content);
}

const FilterDraft::Condition& FilterDraft::condition(const Path& path) const
{
    return std::get<Condition>(node(path).content);
}

FilterDraft::Group& FilterDraft::groupAt(const Path& path)
{
    return const_cast<Group&>(group(path));
}

FilterDraft::Condition& FilterDraft::conditionAt(const Path& path)
{
    return const_cast<Condition&>(condition(path));
}

FilterDraft::Path FilterDraft::parentOf(const Path& path)
{
    return path.empty() ? path : Path(path.begin(), path.end() - 1);
}

FilterDraft::Condition FilterDraft::newCondition() const
{
    Condition condition;
    if (!m_columns.columns().empty())
        condition.column = m_columns.columns().front().field;
    condition.op = FilterOperator::Equal;
    condition.values = {QString()};
    return condition;
}

FilterDraft::Path FilterDraft::addCondition(const Path& group, int position)
{
    Group& target = groupAt(group);
    if (position < 0 || std::size_t(position) > target.items.size())
        position = int(target.items.size());
    target.items.insert(target.items.begin() + position, Node {newCondition()});
    Path path = group;
    path.push_back(position);
    return path;
}

FilterDraft::Path FilterDraft::addGroup(const Path& group, int position)
{
    Group& target = groupAt(group);
    if (position < 0 || std::size_t(position) > target.items.size())
        position = int(target.items.size());
    Group inner;
    inner.items.push_back({newCondition()});
    target.items.insert(target.items.begin() + position, Node {std::move(inner)});
    Path path = group;
    path.push_back(position);
    return path;
}

void FilterDraft::remove(const Path& path)
{
    if (path.empty())
        return;
    Group& parent = groupAt(parentOf(path));
    node(path); // checks the row exists
    parent.items.erase(parent.items.begin() + path.back());
}

void FilterDraft::clear()
{
    m_root.items.clear();
}

void FilterDraft::setGroupOperator(const Path& group, GroupOperator op)
{
    groupAt(group).op = op;
}

void FilterDraft::setColumn(const Path& path, Field column)
{
    Condition& condition = conditionAt(path);
    if (condition.column == column)
        return;
    const bool sameKind = filterKindOf(condition.column) == filterKindOf(column);
    condition.column = column;
    if (!sameKind) {
        for (QString& value : condition.values)
            value.clear();
    }
    if (!operatorApplies(condition.op, filterKindOf(column)))
        setOperator(path, FilterOperator::Equal);
}

void FilterDraft::setOperator(const Path& path, FilterOperator op)
{
    Condition& condition = conditionAt(path);
    condition.op = op;
    const std::size_t count
        = valueCount(operatorInfo(op).arity, std::size_t(condition.values.size()));
    while (std::size_t(condition.values.size()) > count)
        condition.values.removeLast();
    while (std::size_t(condition.values.size()) < count)
        condition.values.append(QString());
}

void FilterDraft::setValue(const Path& path, int index, const QString& text)
{
    Condition& condition = conditionAt(path);
    if (index < 0 || index >= condition.values.size())
        throw std::out_of_range("no such value in the condition");
    condition.values[index] = text;
}

void FilterDraft::addListValue(const Path& path)
{
    Condition& condition = conditionAt(path);
    if (operatorInfo(condition.op).arity == Arity::List)
        condition.values.append(QString());
}

void FilterDraft::removeListValue(const Path& path)
{
    Condition& condition = conditionAt(path);
    if (operatorInfo(condition.op).arity == Arity::List && condition.values.size() > 1)
        condition.values.removeLast();
}

bool FilterDraft::isValueValid(const Path& path, int index) const
{
    const Condition& c = condition(path);
    return index >= 0 && index < c.values.size()
        && m_columns.parseValue(c.column, c.values[index]).has_value();
}

bool FilterDraft::isConditionValid(const Path& path) const
{
    const Condition& c = condition(path);
    for (int i = 0; i < c.values.size(); ++i) {
        if (!isValueValid(path, i))
            return false;
    }
    return true;
}

std::vector<FilterOperator> FilterDraft::operatorsFor(Field column)
{
    std::vector<FilterOperator> result;
    for (const OperatorInfo& info : allOperators()) {
        if (operatorApplies(info.op, filterKindOf(column)))
            result.push_back(info.op);
    }
    return result;
}
