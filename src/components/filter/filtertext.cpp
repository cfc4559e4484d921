#include "filtertext.h"

#include "componenttexts.h"
#include "filtercolumns.h"

namespace {

QString valueText(Field column, const FieldValue& value, const FilterColumns& columns)
{
    if (isBlankValue(value))
        return componentText(u"blank");
    const QString text = columns.formatValue(column, value);
    if (std::holds_alternative<QString>(value))
        return u'\'' + text + u'\'';
    return text;
}

QString groupText(const FilterGroup& group, const FilterColumns& columns, bool outermost)
{
    QStringList members;
    for (const FilterNode& item : group.items) {
        if (const FilterCondition* condition = item.condition()) {
            members << conditionText(*condition, columns);
            continue;
        }
        const FilterGroup& inner = *item.group();
        if (!inner.isEmpty())
            members << groupText(inner, columns, false);
    }
    const QString joint
        = u' ' + (isConjunction(group.op) ? componentText(u"and") : componentText(u"or")) + u' ';
    const QString joined = members.join(joint);
    if (isNegated(group.op))
        return componentText(u"not") + u" (" + joined + u')';
    if (outermost || members.size() == 1)
        return joined;
    return u'(' + joined + u')';
}

} // namespace

QString conditionText(const FilterCondition& condition, const FilterColumns& columns)
{
    const FilterColumn* column = columns.find(condition.column);
    QString text = (column ? column->caption : fieldDef(condition.column).nameString()) + u' '
        + operatorName(condition.op);
    const auto& values = condition.values;
    switch (operatorInfo(condition.op).arity) {
    case Arity::None:
        break;
    case Arity::One:
        if (!values.empty())
            text += u' ' + valueText(condition.column, values[0], columns);
        break;
    case Arity::Two:
        if (values.size() == 2) {
            text += u' ' + valueText(condition.column, values[0], columns) + u' '
                + componentText(u"and") + u' ' + valueText(condition.column, values[1], columns);
        }
        break;
    case Arity::List: {
        QStringList list;
        for (const FieldValue& value : values)
            list << valueText(condition.column, value, columns);
        text += u" (" + list.join(u", ") + u')';
        break;
    }
    }
    return text;
}

QString filterText(const FilterExpression& filter, const FilterColumns& columns)
{
    if (filter.isEmpty())
        return QString();
    return groupText(filter.root, columns, true);
}
