#include "filterdraft.h"
#include "filterfixture.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using enum FilterOperator;
using G = GroupOperator;
using Path = FilterDraft::Path;

class FilterDraftTest : public ::testing::Test
{
protected:
    FilterCatalogue books;
    FilterDraft draft {books.columns()};
};

TEST_F(FilterDraftTest, ShowsValuesAsTypedAndReadsThemBack)
{
    FilterExpression filter;
    filter.root = {G::Or,
        {FilterCondition {Field::Titolo, Like, {u"A%"_s}},
            FilterGroup {G::NotAnd,
                {FilterCondition {Field::Prezzo, Between, {10.5, qint32(20)}},
                    FilterCondition {
                        Field::AnnoPubblicazione, In, {QDate(2024, 2, 29), FieldValue()}},
                    FilterCondition {Field::NPagine, NotBlank, {}}}}}};
    draft.load(filter);
    const FilterDraft::Condition& price = draft.condition({1, 0});
    EXPECT_EQ(price.values, QStringList({u"10,50"_s, u"20,00"_s}));
    EXPECT_EQ(draft.condition({1, 1}).values, QStringList({u"29/02/2024"_s, QString()}));
    EXPECT_EQ(draft.group({1}).op, G::NotAnd);
    EXPECT_TRUE(draft.isGroup({1}));
    EXPECT_FALSE(draft.isGroup({0}));

    // The amount typed as 20,00 comes back as an amount.
    filter.root.items[1].group()->items[0].condition()->values[1] = 20.0;
    EXPECT_EQ(draft.expression(), filter);
}

TEST_F(FilterDraftTest, InvalidValuesHoldBackTheFilter)
{
    const Path price = draft.addCondition({});
    draft.setColumn(price, Field::Prezzo);
    draft.setValue(price, 0, u"dieci"_s);
    EXPECT_FALSE(draft.isValueValid(price, 0));
    EXPECT_FALSE(draft.isConditionValid(price));
    EXPECT_EQ(draft.expression(), std::nullopt);
    draft.setValue(price, 0, u"10,5"_s);
    EXPECT_TRUE(draft.isConditionValid(price));
    ASSERT_TRUE(draft.expression().has_value());
    EXPECT_EQ(draft.expression()->root.items[0].condition()->values[0], FieldValue(10.5));
    // The empty value is the blank value, valid on any column.
    draft.setValue(price, 0, QString());
    EXPECT_EQ(draft.expression()->root.items[0].condition()->values[0], FieldValue());

    const Path date = draft.addCondition({});
    draft.setColumn(date, Field::AnnoPubblicazione);
    draft.setValue(date, 0, u"31/02/2024"_s);
    EXPECT_FALSE(draft.isValueValid(date, 0));
    draft.setValue(date, 0, u"29/02/2024"_s);
    EXPECT_TRUE(draft.isValueValid(date, 0));
}

TEST_F(FilterDraftTest, AddsAndRemovesRows)
{
    EXPECT_EQ(draft.addCondition({}), Path({0}));
    EXPECT_EQ(draft.addGroup({}), Path({1}));
    EXPECT_EQ(draft.group({1}).items.size(), 1u); // a new group holds a condition
    EXPECT_EQ(draft.addCondition({1}), Path({1, 1}));
    EXPECT_EQ(draft.addCondition({}, 0), Path({0}));
    EXPECT_EQ(draft.root().items.size(), 3u);
    EXPECT_TRUE(draft.isGroup({2}));

    // A new condition: the first column, "equals", a blank value.
    const FilterDraft::Condition& fresh = draft.condition({2, 1});
    EXPECT_EQ(fresh.column, Field::Titolo);
    EXPECT_EQ(fresh.op, Equal);
    EXPECT_EQ(fresh.values, QStringList({QString()}));

    draft.remove({2, 0});
    EXPECT_EQ(draft.group({2}).items.size(), 1u);
    draft.remove({0});
    EXPECT_TRUE(draft.isGroup({1}));
    draft.remove({}); // the top group stays
    EXPECT_EQ(draft.root().items.size(), 2u);
    EXPECT_THROW(draft.remove({5}), std::out_of_range);
    draft.clear();
    EXPECT_TRUE(draft.root().items.empty());
    EXPECT_TRUE(draft.expression()->isEmpty());
}

TEST_F(FilterDraftTest, OperatorsTakeTheirNumberOfValues)
{
    const Path path = draft.addCondition({});
    draft.setValue(path, 0, u"a"_s);
    draft.setOperator(path, Between);
    EXPECT_EQ(draft.condition(path).values, QStringList({u"a"_s, QString()}));
    draft.setValue(path, 1, u"m"_s);
    draft.setOperator(path, In);
    EXPECT_EQ(draft.condition(path).values, QStringList({u"a"_s, u"m"_s}));
    draft.addListValue(path);
    EXPECT_EQ(draft.condition(path).values.size(), 3);
    draft.removeListValue(path);
    draft.removeListValue(path);
    draft.removeListValue(path); // never fewer than one
    EXPECT_EQ(draft.condition(path).values, QStringList({u"a"_s}));
    draft.setOperator(path, Blank);
    EXPECT_TRUE(draft.condition(path).values.isEmpty());
    draft.addListValue(path); // only lists grow
    EXPECT_TRUE(draft.condition(path).values.isEmpty());
    draft.setOperator(path, Contains);
    EXPECT_EQ(draft.condition(path).values, QStringList({QString()}));
}

TEST_F(FilterDraftTest, ChangingTheColumnKeepsWhatStillFits)
{
    const Path path = draft.addCondition({});
    draft.setOperator(path, Like);
    draft.setValue(path, 0, u"A%"_s);
    draft.setColumn(path, Field::Note); // a text column again
    EXPECT_EQ(draft.condition(path).op, Like);
    EXPECT_EQ(draft.condition(path).values, QStringList({u"A%"_s}));
    draft.setColumn(path, Field::Prezzo); // numbers take no "like"
    EXPECT_EQ(draft.condition(path).op, Equal);
    EXPECT_EQ(draft.condition(path).values, QStringList({QString()}));
    draft.setOperator(path, Between);
    draft.setValue(path, 0, u"1"_s);
    draft.setColumn(path, Field::AnnoPubblicazione);
    EXPECT_EQ(draft.condition(path).op, Between);
    EXPECT_EQ(draft.condition(path).values, QStringList({QString(), QString()}));
}

TEST(FilterDraftOperators, FollowTheColumnKind)
{
    const std::vector<FilterOperator> text = FilterDraft::operatorsFor(Field::Titolo);
    const std::vector<FilterOperator> number = FilterDraft::operatorsFor(Field::Prezzo);
    const std::vector<FilterOperator> date = FilterDraft::operatorsFor(Field::AnnoPubblicazione);
    auto has = [](const std::vector<FilterOperator>& list, FilterOperator op) {
        return std::find(list.begin(), list.end(), op) != list.end();
    };
    EXPECT_EQ(text.front(), Equal);
    EXPECT_TRUE(has(text, Contains) && has(text, Like) && !has(text, Today));
    EXPECT_TRUE(has(number, Between) && !has(number, Like) && !has(number, ThisWeek));
    EXPECT_TRUE(has(date, NextYear) && has(date, In) && !has(date, BeginsWith));
    EXPECT_EQ(text.size() + number.size() + date.size(), 20u + 12u + 24u);
}

// The part of a filter that a column's own filter list and the custom filter
// dialog show and replace.
TEST(ColumnFilter, TakesAndReplacesTheMembersOfOneColumn)
{
    const FilterCondition a1 {Field::Titolo, Like, {u"A%"_s}};
    const FilterCondition a2 {Field::Titolo, Like, {u"B%"_s}};
    const FilterCondition l {Field::Lingua, Equal, {u"ITALIANO"_s}};
    const FilterGroup titles {G::Or, {a1, a2}};
    FilterExpression filter;
    filter.root = {G::And, {l, titles}};
    EXPECT_EQ(columnFilter(filter, Field::Titolo), titles);
    EXPECT_EQ(columnFilter(filter, Field::Lingua), (FilterGroup {G::And, {l}}));
    EXPECT_TRUE(columnFilter(filter, Field::Note).items.empty());

    const FilterGroup other {G::And, {a2}};
    FilterExpression replaced = withColumnFilter(filter, Field::Titolo, other);
    EXPECT_EQ(replaced.root, (FilterGroup {G::And, {l, a2}}));
    EXPECT_EQ(withColumnFilter(filter, Field::Titolo, {}).root, (FilterGroup {G::And, {l}}));
    EXPECT_EQ(withColumnFilter(FilterExpression(), Field::Titolo, titles).root,
        (FilterGroup {G::And, {titles}}));

    // Under an "OR" top group the other columns' members stay together.
    FilterExpression either;
    either.root = {G::Or, {l, a1}};
    EXPECT_TRUE(columnFilter(either, Field::Titolo).items.empty());
    EXPECT_EQ(withColumnFilter(either, Field::Titolo, other).root,
        (FilterGroup {G::And, {FilterGroup {G::Or, {l, a1}}, a2}}));
    FilterExpression onlyTitles;
    onlyTitles.root = titles;
    EXPECT_EQ(columnFilter(onlyTitles, Field::Titolo), titles);
    EXPECT_EQ(
        withColumnFilter(onlyTitles, Field::Titolo, other).root, (FilterGroup {G::And, {a2}}));
}

} // namespace
