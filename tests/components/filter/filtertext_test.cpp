#include "componenttexts.h"
#include "filterfixture.h"
#include "filtertext.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using enum FilterOperator;
using G = GroupOperator;

class FilterTextTest : public ::testing::Test
{
protected:
    void SetUp() override { componentTexts().clear(); }
    void TearDown() override { componentTexts().clear(); }

    QString text(std::vector<FilterNode> items, G op = G::And)
    {
        FilterExpression filter;
        filter.root = {op, std::move(items)};
        return filterText(filter, books.columns());
    }

    FilterCatalogue books;
};

TEST_F(FilterTextTest, WritesConditionsWithTheirValues)
{
    const FieldValue blank;
    const std::vector<std::pair<FilterCondition, QString>> cases = {
        {{Field::Titolo, Like, {u"A%"_s}}, u"Titolo like 'A%'"_s},
        {{Field::Titolo, Equal, {u"D'Angelo"_s}}, u"Titolo equals 'D'Angelo'"_s},
        {{Field::Titolo, Equal, {blank}}, u"Titolo equals blank"_s},
        {{Field::Titolo, NotEqual, {QString()}}, u"Titolo does not equal blank"_s},
        {{Field::Prezzo, Between, {10.0, 20.5}}, u"Prezzo between 10,00 and 20,50"_s},
        {{Field::NPagine, GreaterOrEqual, {qint32(100)}},
            u"N.Pagine is greater than or equal to 100"_s},
        {{Field::AnnoPubblicazione, Less, {QDate(1990, 1, 1)}},
            u"Data pubblicazione is less than 01/01/1990"_s},
        {{Field::AnnoPubblicazione, ThisWeek, {}}, u"Data pubblicazione is this week"_s},
        {{Field::Lingua, NotIn, {u"ITALIANO"_s, blank}}, u"Lingua not in ('ITALIANO', blank)"_s},
        {{Field::Note, Blank, {}}, u"note is blank"_s},
        {{Field::Note, NotContains, {u"dedica"_s}}, u"note does not contain 'dedica'"_s},
    };
    for (const auto& [condition, expected] : cases)
        EXPECT_EQ(text({condition}), expected);
}

TEST_F(FilterTextTest, JoinsGroupsWithParenthesesAndNegations)
{
    const FilterCondition a {Field::Titolo, Like, {u"A%"_s}};
    const FilterCondition b {Field::Prezzo, Between, {10.0, 20.0}};
    const FilterCondition c {Field::Lingua, In, {u"ITALIANO"_s, u"INGLESE"_s}};
    EXPECT_EQ(text({a, FilterGroup {G::Or, {b, c}}}),
        u"Titolo like 'A%' and (Prezzo between 10,00 and 20,00 or Lingua in ('ITALIANO', 'INGLESE'))"_s);
    EXPECT_EQ(text({a, b}, G::Or), u"Titolo like 'A%' or Prezzo between 10,00 and 20,00"_s);
    EXPECT_EQ(
        text({a, b}, G::NotAnd), u"not (Titolo like 'A%' and Prezzo between 10,00 and 20,00)"_s);
    EXPECT_EQ(text({a, FilterGroup {G::NotOr, {c}}}),
        u"Titolo like 'A%' and not (Lingua in ('ITALIANO', 'INGLESE'))"_s);
    // A subgroup of one member needs no parentheses; empty groups vanish.
    EXPECT_EQ(text({FilterGroup {G::Or, {a}}, FilterGroup {G::And, {}}, c}),
        u"Titolo like 'A%' and Lingua in ('ITALIANO', 'INGLESE')"_s);
    EXPECT_EQ(text({}), QString());
}

TEST_F(FilterTextTest, TakesEveryWordFromTheRegistry)
{
    componentTexts().add(u"and", u"E");
    componentTexts().add(u"or", u"O");
    componentTexts().add(u"not", u"NON");
    componentTexts().add(u"blank", u"vuoto");
    componentTexts().add(u"like", u"come");
    componentTexts().add(u"between", u"tra");
    const FilterCondition a {Field::Titolo, Like, {FieldValue()}};
    const FilterCondition b {Field::Prezzo, Between, {1.0, 2.0}};
    EXPECT_EQ(text({a, FilterGroup {G::NotOr, {a, b}}}),
        u"Titolo come vuoto E NON (Titolo come vuoto O Prezzo tra 1,00 E 2,00)"_s);
}

} // namespace
