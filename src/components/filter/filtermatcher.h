#pragma once

#include "catalogtable.h"
#include "filterexpression.h"

#include <QDate>

#include <memory>
#include <span>
#include <vector>

class FilterColumns;

// A filter made ready for matching many rows: each condition's values are
// converted once (texts to the code page of the catalogue, amounts to cents,
// dates to day numbers, the relative dates to ranges around today), so that
// matching a row converts nothing.
//
// Texts: equality, "in" and the order comparisons follow the regional
// collation, letter case significant. The pattern operators ("like", begins,
// ends, contains and their negations) ignore letter case and respect accents.
// Blank values (missing, or the empty text) equal the blank value and satisfy
// "is blank"; they satisfy no order comparison and no range. Each negated
// operator lets through exactly the rows that its positive form holds back.
class FilterMatcher
{
public:
    // Throws Error("Can't build filter from source") when the filter refers to
    // a column that is not among columns or uses an operator the column does
    // not offer, and Error("Invalid value") when a value does not suit its
    // column or an operator has the wrong number of values. today is the day
    // the relative dates count from; weeks start on Monday.
    FilterMatcher(const FilterExpression& filter, const FilterColumns& columns, QDate today);
    ~FilterMatcher();
    FilterMatcher(FilterMatcher&&) noexcept;
    FilterMatcher& operator=(FilterMatcher&&) noexcept;

    // True for the empty filter, which every row passes.
    bool matchesEveryRow() const;
    // Rows must exist in the table the columns read.
    bool matches(RowId row) const;
    // The rows that pass, in their given order. They are tested in the order
    // of their numbers, the order in which the table holds them in memory.
    std::vector<RowId> select(std::span<const RowId> rows) const;

    class Test;
    struct Group;

private:
    std::unique_ptr<Group> m_root;
};

// Checks that every condition of the filter refers to one of the columns with
// an operator it offers and values that suit it; throws like FilterMatcher.
void validateFilter(const FilterExpression& filter, const FilterColumns& columns);
