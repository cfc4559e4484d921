#pragma once

#include "filterexpression.h"

#include <QString>

class FilterColumns;

// The filter as the grid's filter bar writes it: each condition as the
// column's caption, the operator's name and its values; texts in single
// quotes, numbers and dates in their regional form, "blank" for an empty
// value; members of a group joined by "and" or "or", subgroups in
// parentheses, negated groups after "not". Every word is fetched through the
// component text registry. The empty filter gives the empty text.
QString filterText(const FilterExpression& filter, const FilterColumns& columns);
QString conditionText(const FilterCondition& condition, const FilterColumns& columns);
