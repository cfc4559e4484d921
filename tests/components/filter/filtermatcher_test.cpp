#include "componenttexts.h"
#include "error.h"
#include "filterfixture.h"
#include "filtermatcher.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using enum FilterOperator;

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

QStringList list(std::initializer_list<const char*> labels)
{
    QStringList result;
    for (const char* label : labels)
        result << QString::fromLatin1(label);
    return result;
}

// Six books whose values cover letter case, accents, the empty text and
// missing values of every kind.
class FilterMatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        componentTexts().clear();
        const FieldValue none;
        books.add(u"r1"_s,
            {{Field::Titolo, s(u"Alfa")}, {Field::Lingua, s(u"ITALIANO")},
                {Field::NPagine, qint32(100)}, {Field::Prezzo, 10.0},
                {Field::AnnoPubblicazione, QDate(2024, 6, 10)},
                {Field::Note, s(u"Copia con dedica dell'autore")}});
        books.add(u"r2"_s,
            {{Field::Titolo, s(u"alfa")}, {Field::Lingua, s(u"italiano")},
                {Field::NPagine, qint32(250)}, {Field::Prezzo, 12.125},
                {Field::AnnoPubblicazione, QDate(2024, 6, 11)}, {Field::Note, QString()}});
        books.add(u"r3"_s, {{Field::Titolo, s(u"Beta")}, {Field::Lingua, QString()}});
        books.add(u"r4"_s,
            {{Field::Lingua, s(u"INGLESE")}, {Field::NPagine, qint32(0)}, {Field::Prezzo, 0.0},
                {Field::AnnoPubblicazione, QDate(1900, 1, 1)}, {Field::Note, s(u"50% di sconto")}});
        books.add(u"r5"_s,
            {{Field::Titolo, s(u"Citt\u00E0 di Forl\u00EC")}, {Field::Lingua, s(u"FRANCESE")},
                {Field::NPagine, qint32(1200)}, {Field::Prezzo, 59.99},
                {Field::AnnoPubblicazione, QDate(2023, 12, 31)},
                {Field::Note, s(u"perch\u00E9_no")}});
        books.add(u"r6"_s,
            {{Field::Titolo, s(u"Zeta")}, {Field::Lingua, s(u"ITALIANO")},
                {Field::NPagine, qint32(-5)}, {Field::Prezzo, -1.5},
                {Field::AnnoPubblicazione, QDate(2025, 1, 1)}, {Field::Note, s(u"DEDICA")}});
    }

    QStringList passing(const FilterExpression& filter, QDate today = QDate(2024, 6, 12))
    {
        const FilterMatcher matcher(filter, books.columns(), today);
        const std::vector<RowId> rows = books.rows();
        const std::vector<RowId> selected = matcher.select(rows);
        // select and matches agree.
        std::vector<RowId> one;
        for (const RowId row : rows) {
            if (matcher.matches(row))
                one.push_back(row);
        }
        EXPECT_EQ(selected, one);
        return books.labels(selected);
    }

    QStringList passing(const FilterCondition& condition)
    {
        FilterExpression filter;
        filter.root.items.emplace_back(condition);
        return passing(filter);
    }

    FilterCatalogue books;
};

struct Case
{
    FilterCondition condition;
    QStringList expected;
};

void checkCases(FilterMatcherTest* test, const std::vector<Case>& cases,
    const std::function<QStringList(const FilterCondition&)>& run)
{
    Q_UNUSED(test);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
            << fieldDef(c.condition.column).nameString().toStdString() << ' '
            << QString::fromUtf16(operatorInfo(c.condition.op).name).toStdString() << " #"
            << (&c - cases.data()));
        EXPECT_EQ(run(c.condition), c.expected);
    }
}

TEST_F(FilterMatcherTest, TextColumns)
{
    const FieldValue blank;
    const Field t = Field::Titolo;
    const std::vector<Case> cases = {
        // The collation decides, letter case significant.
        {{t, Equal, {s(u"Alfa")}}, list({"r1"})},
        {{t, Equal, {s(u"alfa")}}, list({"r2"})},
        {{t, NotEqual, {s(u"Alfa")}}, list({"r2", "r3", "r4", "r5", "r6"})},
        {{t, Equal, {blank}}, list({"r4"})},
        {{t, Equal, {QString()}}, list({"r4"})},
        {{t, NotEqual, {blank}}, list({"r1", "r2", "r3", "r5", "r6"})},
        {{t, Less, {s(u"Beta")}}, list({"r1", "r2"})},
        {{t, LessOrEqual, {s(u"Beta")}}, list({"r1", "r2", "r3"})},
        {{t, Less, {s(u"alfa")}}, list({})},
        {{t, LessOrEqual, {s(u"alfa")}}, list({"r2"})},
        {{t, Greater, {s(u"Beta")}}, list({"r5", "r6"})},
        {{t, GreaterOrEqual, {s(u"Citt\u00E0 di Forl\u00EC")}}, list({"r5", "r6"})},
        {{t, Greater, {blank}}, list({})},
        {{t, Between, {s(u"B"), s(u"D")}}, list({"r3", "r5"})},
        {{t, Between, {s(u"D"), s(u"B")}}, list({"r3", "r5"})},
        {{t, NotBetween, {s(u"B"), s(u"D")}}, list({"r1", "r2", "r4", "r6"})},
        {{t, Between, {blank, s(u"D")}}, list({})},
        {{t, In, {s(u"Alfa"), s(u"Zeta")}}, list({"r1", "r6"})},
        {{t, In, {s(u"Zeta"), blank}}, list({"r4", "r6"})},
        {{t, NotIn, {s(u"Alfa"), s(u"Zeta")}}, list({"r2", "r3", "r4", "r5"})},
        // Patterns ignore letter case, not accents; a missing text is empty.
        {{t, Like, {s(u"a%")}}, list({"r1", "r2"})},
        {{t, Like, {s(u"_eta")}}, list({"r3", "r6"})},
        {{t, Like, {s(u"%forl_")}}, list({"r5"})},
        {{t, Like, {s(u"%FORL\u00CC")}}, list({"r5"})},
        {{t, Like, {s(u"%forli")}}, list({})},
        {{t, Like, {s(u"c%d%f%")}}, list({"r5"})},
        {{t, Like, {s(u"%")}}, list({"r1", "r2", "r3", "r4", "r5", "r6"})},
        {{t, Like, {blank}}, list({"r4"})},
        {{t, Like, {s(u"alfa")}}, list({"r1", "r2"})},
        {{t, Like, {s(u"alf")}}, list({})},
        {{t, NotLike, {s(u"a%")}}, list({"r3", "r4", "r5", "r6"})},
        {{t, BeginsWith, {s(u"ALF")}}, list({"r1", "r2"})},
        {{t, NotBeginsWith, {s(u"alf")}}, list({"r3", "r4", "r5", "r6"})},
        {{t, EndsWith, {s(u"ETA")}}, list({"r3", "r6"})},
        {{t, NotEndsWith, {s(u"ETA")}}, list({"r1", "r2", "r4", "r5"})},
        {{t, Contains, {s(u"\u00C0 D")}}, list({"r5"})},
        {{t, NotContains, {s(u"l")}}, list({"r3", "r4", "r6"})},
        {{t, Blank, {}}, list({"r4"})},
        {{t, NotBlank, {}}, list({"r1", "r2", "r3", "r5", "r6"})},
        // The empty text and the missing text are both blank.
        {{Field::Lingua, Blank, {}}, list({"r3"})},
        {{Field::Lingua, In, {s(u"ITALIANO"), s(u"INGLESE")}}, list({"r1", "r4", "r6"})},
        {{Field::Note, Blank, {}}, list({"r2", "r3"})},
        {{Field::Note, Equal, {blank}}, list({"r2", "r3"})},
        // The wildcards of "like" stand for themselves elsewhere.
        {{Field::Note, Contains, {s(u"50%")}}, list({"r4"})},
        {{Field::Note, Contains, {s(u"%")}}, list({"r4"})},
        {{Field::Note, EndsWith, {s(u"_no")}}, list({"r5"})},
        {{Field::Note, Contains, {s(u"dedica")}}, list({"r1", "r6"})},
        // A character the catalogue cannot hold is found nowhere.
        {{Field::Note, Contains, {s(u"\u0142")}}, list({})},
        {{Field::Note, NotContains, {s(u"\u0142")}}, list({"r1", "r2", "r3", "r4", "r5", "r6"})},
        {{t, Equal, {s(u"\u0142")}}, list({})},
    };
    checkCases(this, cases, [this](const FilterCondition& c) { return passing(c); });
}

TEST_F(FilterMatcherTest, NumberColumns)
{
    const FieldValue blank;
    const Field n = Field::NPagine, p = Field::Prezzo;
    const std::vector<Case> cases = {
        {{n, Equal, {qint32(100)}}, list({"r1"})},
        {{n, Equal, {qint32(0)}}, list({"r4"})},
        {{n, NotEqual, {qint32(0)}}, list({"r1", "r2", "r3", "r5", "r6"})},
        {{n, Less, {qint32(100)}}, list({"r4", "r6"})},
        {{n, LessOrEqual, {qint32(100)}}, list({"r1", "r4", "r6"})},
        {{n, Greater, {qint32(250)}}, list({"r5"})},
        {{n, GreaterOrEqual, {qint32(250)}}, list({"r2", "r5"})},
        {{n, Greater, {qint32(99)}}, list({"r1", "r2", "r5"})},
        {{n, Between, {qint32(0), qint32(250)}}, list({"r1", "r2", "r4"})},
        {{n, Between, {qint32(250), qint32(0)}}, list({"r1", "r2", "r4"})},
        {{n, NotBetween, {qint32(0), qint32(250)}}, list({"r3", "r5", "r6"})},
        {{n, In, {qint32(100), qint32(1200)}}, list({"r1", "r5"})},
        {{n, NotIn, {qint32(100), qint32(1200)}}, list({"r2", "r3", "r4", "r6"})},
        {{n, In, {blank}}, list({"r3"})},
        {{n, Blank, {}}, list({"r3"})},
        {{n, NotBlank, {}}, list({"r1", "r2", "r4", "r5", "r6"})},
        {{n, Equal, {blank}}, list({"r3"})},
        {{n, Less, {blank}}, list({})},
        // Amounts compare as shown, to the cent: 12.125 shows as 12,13.
        {{p, Equal, {12.13}}, list({"r2"})},
        {{p, Equal, {12.125}}, list({"r2"})},
        {{p, Equal, {12.12}}, list({})},
        {{p, Equal, {qint32(10)}}, list({"r1"})},
        {{p, Greater, {12.13}}, list({"r5"})},
        {{p, GreaterOrEqual, {12.13}}, list({"r2", "r5"})},
        {{p, Less, {0.0}}, list({"r6"})},
        {{p, Between, {10.0, 12.13}}, list({"r1", "r2"})},
        {{p, NotBetween, {10.0, 12.13}}, list({"r3", "r4", "r5", "r6"})},
        {{p, Blank, {}}, list({"r3"})},
    };
    checkCases(this, cases, [this](const FilterCondition& c) { return passing(c); });
}

TEST_F(FilterMatcherTest, DateColumns)
{
    const FieldValue blank;
    const Field d = Field::AnnoPubblicazione;
    const std::vector<Case> cases = {
        {{d, Equal, {QDate(2024, 6, 10)}}, list({"r1"})},
        {{d, NotEqual, {QDate(2024, 6, 10)}}, list({"r2", "r3", "r4", "r5", "r6"})},
        {{d, Less, {QDate(2024, 6, 10)}}, list({"r4", "r5"})},
        {{d, LessOrEqual, {QDate(2024, 6, 10)}}, list({"r1", "r4", "r5"})},
        {{d, Greater, {QDate(2024, 6, 11)}}, list({"r6"})},
        {{d, GreaterOrEqual, {QDate(2024, 6, 11)}}, list({"r2", "r6"})},
        {{d, Between, {QDate(2023, 12, 31), QDate(2024, 6, 11)}}, list({"r1", "r2", "r5"})},
        {{d, NotBetween, {QDate(2023, 12, 31), QDate(2024, 6, 11)}}, list({"r3", "r4", "r6"})},
        {{d, In, {QDate(1900, 1, 1), blank}}, list({"r3", "r4"})},
        {{d, NotIn, {QDate(1900, 1, 1), blank}}, list({"r1", "r2", "r5", "r6"})},
        {{d, Blank, {}}, list({"r3"})},
        {{d, NotBlank, {}}, list({"r1", "r2", "r4", "r5", "r6"})},
        // Today is Wednesday 12 June 2024.
        {{d, Yesterday, {}}, list({"r2"})},
        {{d, ThisWeek, {}}, list({"r1", "r2"})},
        {{d, ThisYear, {}}, list({"r1", "r2"})},
        {{d, LastYear, {}}, list({"r5"})},
        {{d, NextYear, {}}, list({"r6"})},
    };
    checkCases(this, cases, [this](const FilterCondition& c) { return passing(c); });
}

TEST_F(FilterMatcherTest, GroupKindsAndTheirNegations)
{
    const FilterCondition a {Field::Titolo, Like, {s(u"a%")}}; // r1 r2
    const FilterCondition b {Field::NPagine, Greater, {qint32(200)}}; // r2 r5
    const FilterCondition c {Field::Lingua, Equal, {s(u"ITALIANO")}}; // r1 r6
    auto only = [](GroupOperator op, std::vector<FilterNode> items) {
        FilterExpression filter;
        filter.root = {op, std::move(items)};
        return filter;
    };
    using G = GroupOperator;
    EXPECT_EQ(passing(only(G::And, {a, b})), list({"r2"}));
    EXPECT_EQ(passing(only(G::Or, {a, b})), list({"r1", "r2", "r5"}));
    EXPECT_EQ(passing(only(G::NotAnd, {a, b})), list({"r1", "r3", "r4", "r5", "r6"}));
    EXPECT_EQ(passing(only(G::NotOr, {a, b})), list({"r3", "r4", "r6"}));
    // Nested: c and (a or b); c or not (a and b).
    EXPECT_EQ(passing(only(G::And, {c, FilterGroup {G::Or, {a, b}}})), list({"r1"}));
    EXPECT_EQ(passing(only(G::Or, {c, FilterGroup {G::NotAnd, {a, b}}})),
        list({"r1", "r3", "r4", "r5", "r6"}));
    EXPECT_EQ(passing(only(G::NotOr, {FilterGroup {G::And, {a, c}}, b})), list({"r3", "r4", "r6"}));
    // Empty groups are left out wherever they stand.
    EXPECT_EQ(passing(only(G::And, {a, FilterGroup {G::NotOr, {}}})), list({"r1", "r2"}));
    EXPECT_EQ(passing(only(G::Or, {a, FilterGroup {G::NotAnd, {}}})), list({"r1", "r2"}));
    const QStringList all = list({"r1", "r2", "r3", "r4", "r5", "r6"});
    EXPECT_EQ(passing(only(G::NotAnd, {FilterGroup {G::Or, {}}})), all);
    EXPECT_EQ(passing(FilterExpression()), all);
    EXPECT_TRUE(FilterMatcher(FilterExpression(), books.columns(), {}).matchesEveryRow());
}

TEST_F(FilterMatcherTest, RefusesWhatAColumnCannotTake)
{
    const FilterColumns columns = books.columns();
    const QString cannotBuild = u"Can't build filter from source"_s;
    const QString invalid = u"Invalid value"_s;
    const std::vector<std::pair<FilterCondition, QString>> cases = {
        {{Field::Costo, Equal, {1.0}}, cannotBuild}, // not among the columns
        {{Field::Prezzo, Like, {s(u"1%")}}, cannotBuild},
        {{Field::Titolo, Today, {}}, cannotBuild},
        {{Field::Prezzo, Between, {1.0}}, invalid},
        {{Field::Prezzo, Equal, {}}, invalid},
        {{Field::Prezzo, In, {}}, invalid},
        {{Field::Titolo, Blank, {s(u"x")}}, invalid},
        {{Field::AnnoPubblicazione, Equal, {s(u"01/01/2000")}}, invalid},
        {{Field::AnnoPubblicazione, Equal, {QDate()}}, invalid},
        {{Field::NPagine, Equal, {2.5}}, invalid},
        {{Field::Titolo, Equal, {qint32(1)}}, invalid},
    };
    for (const auto& [condition, message] : cases) {
        FilterExpression filter;
        filter.root.items.emplace_back(FilterGroup {GroupOperator::Or, {condition}});
        try {
            FilterMatcher(filter, columns, QDate(2024, 6, 12));
            ADD_FAILURE() << "accepted " << message.toStdString();
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), message);
        }
    }
}

// Texts that differ only by characters the collation ignores are equal, as
// they are in the table's order.
TEST(FilterMatcherCollation, IgnoredCharactersDoNotSeparateEqualTexts)
{
    FilterCatalogue books;
    const QString plain = s(u"Alfa"), marked = s(u"Al\u0001fa");
    ASSERT_EQ(books.table.collation().compare(plain, marked), 0);
    books.add(u"plain"_s, {{Field::Titolo, plain}});
    books.add(u"marked"_s, {{Field::Titolo, marked}});
    books.add(u"other"_s, {{Field::Titolo, s(u"Alfa\u0001x")}});
    for (const QString& value : {plain, marked}) {
        FilterExpression filter;
        filter.root.items.emplace_back(FilterCondition {Field::Titolo, Equal, {value}});
        const FilterMatcher matcher(filter, books.columns(), QDate(2024, 1, 1));
        EXPECT_EQ(books.labels(matcher.select(books.rows())), list({"marked", "plain"}));
    }
}

struct RelativeCase
{
    QDate today;
    FilterOperator op;
    QDate date;
    bool passes;
};

TEST(FilterMatcherDates, RelativeDatesAroundWeekMonthAndYearBoundaries)
{
    using D = QDate;
    const std::vector<RelativeCase> cases = {
        // Wednesday 12 June 2024; weeks start on Monday.
        {D(2024, 6, 12), Yesterday, D(2024, 6, 11), true},
        {D(2024, 6, 12), Yesterday, D(2024, 6, 12), false},
        {D(2024, 6, 12), Today, D(2024, 6, 12), true},
        {D(2024, 6, 12), Today, D(2024, 6, 13), false},
        {D(2024, 6, 12), Tomorrow, D(2024, 6, 13), true},
        {D(2024, 6, 12), ThisWeek, D(2024, 6, 10), true},
        {D(2024, 6, 12), ThisWeek, D(2024, 6, 16), true},
        {D(2024, 6, 12), ThisWeek, D(2024, 6, 9), false},
        {D(2024, 6, 12), ThisWeek, D(2024, 6, 17), false},
        {D(2024, 6, 12), LastWeek, D(2024, 6, 3), true},
        {D(2024, 6, 12), LastWeek, D(2024, 6, 9), true},
        {D(2024, 6, 12), LastWeek, D(2024, 6, 2), false},
        {D(2024, 6, 12), LastWeek, D(2024, 6, 10), false},
        {D(2024, 6, 12), NextWeek, D(2024, 6, 17), true},
        {D(2024, 6, 12), NextWeek, D(2024, 6, 23), true},
        {D(2024, 6, 12), NextWeek, D(2024, 6, 24), false},
        // On a Monday and on a Sunday.
        {D(2024, 6, 10), ThisWeek, D(2024, 6, 9), false},
        {D(2024, 6, 10), LastWeek, D(2024, 6, 9), true},
        {D(2024, 6, 16), ThisWeek, D(2024, 6, 10), true},
        {D(2024, 6, 16), ThisWeek, D(2024, 6, 17), false},
        {D(2024, 6, 16), NextWeek, D(2024, 6, 17), true},
        // New Year's Day 2025, a Wednesday.
        {D(2025, 1, 1), Yesterday, D(2024, 12, 31), true},
        {D(2025, 1, 1), ThisWeek, D(2024, 12, 30), true},
        {D(2025, 1, 1), LastWeek, D(2024, 12, 23), true},
        {D(2025, 1, 1), LastWeek, D(2024, 12, 29), true},
        {D(2025, 1, 1), LastMonth, D(2024, 12, 1), true},
        {D(2025, 1, 1), LastMonth, D(2024, 12, 31), true},
        {D(2025, 1, 1), LastMonth, D(2024, 11, 30), false},
        {D(2025, 1, 1), ThisMonth, D(2024, 12, 31), false},
        {D(2025, 1, 1), LastYear, D(2024, 1, 1), true},
        {D(2025, 1, 1), LastYear, D(2024, 12, 31), true},
        {D(2025, 1, 1), LastYear, D(2025, 1, 1), false},
        {D(2025, 1, 1), ThisYear, D(2025, 12, 31), true},
        {D(2025, 1, 1), ThisYear, D(2024, 12, 31), false},
        {D(2025, 1, 1), NextYear, D(2026, 1, 1), true},
        {D(2025, 1, 1), NextYear, D(2026, 12, 31), true},
        {D(2025, 1, 1), NextYear, D(2027, 1, 1), false},
        // The last day of March in a leap year, and of December.
        {D(2024, 3, 31), LastMonth, D(2024, 2, 29), true},
        {D(2024, 3, 31), LastMonth, D(2024, 2, 1), true},
        {D(2024, 3, 31), LastMonth, D(2024, 1, 31), false},
        {D(2024, 3, 31), ThisMonth, D(2024, 3, 1), true},
        {D(2024, 3, 31), NextMonth, D(2024, 4, 30), true},
        {D(2024, 3, 31), NextMonth, D(2024, 5, 1), false},
        {D(2024, 12, 31), Tomorrow, D(2025, 1, 1), true},
        {D(2024, 12, 31), NextMonth, D(2025, 1, 31), true},
        {D(2024, 12, 31), NextWeek, D(2025, 1, 6), true},
        {D(2024, 12, 31), NextWeek, D(2025, 1, 12), true},
        {D(2024, 12, 31), NextWeek, D(2025, 1, 5), false},
    };
    FilterCatalogue books;
    books.add(u"missing"_s, {});
    for (const RelativeCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
            << "today " << c.today.toString(Qt::ISODate).toStdString() << ", "
            << QString::fromUtf16(operatorInfo(c.op).name).toStdString() << ", "
            << c.date.toString(Qt::ISODate).toStdString());
        FilterCatalogue one;
        const RowId row = one.add(u"row"_s, {{Field::AnnoPubblicazione, c.date}});
        FilterExpression filter;
        filter.root.items.emplace_back(FilterCondition {Field::AnnoPubblicazione, c.op, {}});
        EXPECT_EQ(FilterMatcher(filter, one.columns(), c.today).matches(row), c.passes);
        // A book without a date is in no period.
        EXPECT_FALSE(FilterMatcher(filter, books.columns(), c.today).matches(books.rows()[0]));
    }
}

TEST(FilterMatcherSelect, KeepsTheGivenOrderOfRows)
{
    FilterCatalogue books;
    for (const char16_t* title : {u"Delta", u"Alfa", u"Gamma", u"Beta"})
        books.add(s(title), {{Field::Titolo, s(title)}});
    std::vector<RowId> rows = books.rows(); // in title order
    std::reverse(rows.begin(), rows.end());
    FilterExpression filter;
    filter.root.items.emplace_back(FilterCondition {Field::Titolo, NotEqual, {s(u"Beta")}});
    const FilterMatcher matcher(filter, books.columns(), QDate(2024, 1, 1));
    QStringList titles;
    for (const RowId row : matcher.select(rows))
        titles << books.table.displayText(row, Field::Titolo);
    EXPECT_EQ(titles, QStringList({u"Gamma"_s, u"Delta"_s, u"Alfa"_s}));
}

} // namespace
