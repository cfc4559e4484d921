#include "componenttexts.h"
#include "error.h"
#include "filterfile.h"
#include "filterfixture.h"
#include "testenvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

using G = GroupOperator;

// A value of the right kind for a column, for each operator.
std::vector<FieldValue> sampleValues(Field column, Arity arity)
{
    FieldValue one;
    FieldValue two;
    switch (filterKindOf(column)) {
    case FilterKind::Text:
        one = u"Dall'\u00D2 \"lettere\" \\ 50%_"_s;
        two = u"z"_s;
        break;
    case FilterKind::Number:
        one = column == Field::NPagine ? FieldValue(qint32(-7)) : FieldValue(12.125);
        two = column == Field::NPagine ? FieldValue(std::numeric_limits<qint32>::max())
                                       : FieldValue(0.1);
        break;
    case FilterKind::Date:
        one = QDate(1900, 1, 1);
        two = QDate(2024, 2, 29);
        break;
    }
    switch (arity) {
    case Arity::None:
        return {};
    case Arity::One:
        return {one};
    case Arity::Two:
        return {one, two};
    case Arity::List:
        break;
    }
    return {one, FieldValue(), two};
}

// Every operator on every column that offers it, under every group kind.
FilterExpression everything()
{
    const Field columns[]
        = {Field::Titolo, Field::NPagine, Field::Prezzo, Field::AnnoPubblicazione};
    FilterExpression filter;
    filter.root.op = G::NotOr;
    FilterGroup ands {G::And, {}};
    FilterGroup ors {G::Or, {}};
    FilterGroup notAnds {G::NotAnd, {}};
    int n = 0;
    for (const OperatorInfo& info : allOperators()) {
        for (const Field column : columns) {
            if (!operatorApplies(info.op, filterKindOf(column)))
                continue;
            FilterCondition condition {column, info.op, sampleValues(column, info.arity)};
            FilterGroup& target = n % 3 == 0 ? ands : n % 3 == 1 ? ors : notAnds;
            target.items.emplace_back(std::move(condition));
            ++n;
        }
    }
    ors.items.emplace_back(std::move(notAnds));
    ors.items.emplace_back(FilterGroup {G::NotOr, {}});
    filter.root.items.emplace_back(std::move(ands));
    filter.root.items.emplace_back(std::move(ors));
    return filter;
}

class FilterFileTest : public ::testing::Test
{
protected:
    void SetUp() override { componentTexts().clear(); }

    FilterCatalogue books;
    FilterColumns columns = books.columns();
};

TEST_F(FilterFileTest, RoundTripsEveryOperatorGroupKindAndValue)
{
    const FilterExpression filter = everything();
    const QByteArray bytes = FilterFile::write(filter);
    EXPECT_TRUE(bytes.startsWith("TOMARIO filter 1\n")) << bytes.left(40).toStdString();
    const FilterExpression back = FilterFile::read(bytes, columns);
    EXPECT_EQ(back, filter);
    EXPECT_EQ(FilterFile::write(back), bytes);
}

TEST_F(FilterFileTest, RoundTripsValuesExactly)
{
    const std::vector<FieldValue> values = {
        u""_s,
        u"tab\there, CR LF\r\n, lone CR\r, quote \" and backslash \\"_s,
        QString(QChar(0x01)) + QChar(0x7F) + QChar(0x1F),
        u"\u20AC \u00E8 \u4E2D \U0001F600"_s,
        QString(QChar(0xD800)) + u"x"_s + QChar(0xDC00), // halves of pairs alone
        u"  spaces  at both ends  "_s,
        u"group end condition blank"_s,
    };
    for (const FieldValue& value : values) {
        FilterExpression filter;
        filter.root.items.emplace_back(
            FilterCondition {Field::Titolo, FilterOperator::In, {value, value}});
        EXPECT_EQ(FilterFile::read(FilterFile::write(filter), columns), filter);
    }
    const std::vector<std::pair<Field, FieldValue>> others = {
        {Field::Prezzo, 0.1},
        {Field::Prezzo, -0.0},
        {Field::Prezzo, 1e300},
        {Field::Prezzo, 5e-324},
        {Field::Prezzo, 123456789.123456789},
        {Field::Prezzo, qint32(3)},
        {Field::NPagine, std::numeric_limits<qint32>::min()},
        {Field::AnnoPubblicazione, QDate(1, 1, 1)},
        {Field::AnnoPubblicazione, QDate(-44, 3, 15)},
        {Field::AnnoPubblicazione, QDate(9999, 12, 31)},
    };
    for (const auto& [column, value] : others) {
        FilterExpression filter;
        filter.root.items.emplace_back(FilterCondition {column, FilterOperator::Equal, {value}});
        const FilterExpression back = FilterFile::read(FilterFile::write(filter), columns);
        EXPECT_EQ(back, filter) << FilterFile::write(filter).toStdString();
        if (const double* amount = std::get_if<double>(&value)) {
            EXPECT_EQ(std::signbit(*amount),
                std::signbit(std::get<double>(back.root.items[0].condition()->values[0])));
        }
    }
}

TEST_F(FilterFileTest, ReadsLineEndsAndIndentationLeniently)
{
    const QByteArray text = "TOMARIO filter 1\r\n"
                            "group or\r\n"
                            "\r\n"
                            "condition LINGUA in \"ITALIANO\"   blank\r\n"
                            "    group not-and\r\n"
                            "      condition prezzo between integer 10 amount 20.5\r\n"
                            "    end\r\n"
                            "end\r\n"
                            "\r\n";
    FilterExpression expected;
    expected.root.op = G::Or;
    expected.root.items.emplace_back(
        FilterCondition {Field::Lingua, FilterOperator::In, {u"ITALIANO"_s, FieldValue()}});
    expected.root.items.emplace_back(FilterGroup {
        G::NotAnd, {FilterCondition {Field::Prezzo, FilterOperator::Between, {qint32(10), 20.5}}}});
    EXPECT_EQ(FilterFile::read(text, columns), expected);
}

TEST_F(FilterFileTest, DamagedFilesCannotBeRead)
{
    const QByteArray head = "TOMARIO filter 1\n";
    const std::vector<QByteArray> damaged = {
        "",
        "group and\nend\n",
        "TOMARIO filter 2\ngroup and\nend\n",
        "TOMARIO filter\ngroup and\nend\n",
        head + "group and\n",
        head + "group and\nend\nend\n",
        head + "group and\nend\ncondition titolo blank\n",
        head + "condition titolo blank\n",
        head + "group xor\nend\n",
        head + "group and extra\nend\n",
        head + "group and\ncondition titolone equals \"x\"\nend\n",
        head + "group and\ncondition costo equals amount 1\nend\n", // not among the columns
        head + "group and\ncondition RecId equals integer 1\nend\n",
        head + "group and\ncondition titolo resembles \"x\"\nend\n",
        head + "group and\ncondition prezzo like \"1%\"\nend\n",
        head + "group and\ncondition titolo today\nend\n",
        head + "group and\ncondition titolo equals\nend\n",
        head + "group and\ncondition titolo equals \"a\" \"b\"\nend\n",
        head + "group and\ncondition titolo between \"a\"\nend\n",
        head + "group and\ncondition titolo in\nend\n",
        head + "group and\ncondition titolo blank \"x\"\nend\n",
        head + "group and\ncondition titolo equals date 2024-01-01\nend\n",
        head + "group and\ncondition annopubblicazione equals date 2024-02-30\nend\n",
        head + "group and\ncondition annopubblicazione equals date 2024-2-03\nend\n",
        head + "group and\ncondition annopubblicazione equals \"01/01/2000\"\nend\n",
        head + "group and\ncondition npagine equals integer 2147483648\nend\n",
        head + "group and\ncondition npagine equals integer 1.5\nend\n",
        head + "group and\ncondition npagine equals amount 1.5\nend\n",
        head + "group and\ncondition prezzo equals amount 1,5\nend\n",
        head + "group and\ncondition prezzo equals amount\nend\n",
        head + "group and\ncondition titolo equals \"open\nend\n",
        head + "group and\ncondition titolo equals \"bad \\q escape\"\nend\n",
        head + "group and\ncondition titolo equals \"bad \\u12\"\nend\n",
        head + "group and\ncondition titolo equals \"a\"\"b\"\nend\n",
        head + "group and\ncondition titolo equals te\"xt\nend\n",
        head + "group and\ncondition titolo equals \"\xE8\"\nend\n", // not UTF-8
        head + "group and\nend\ngarbage\n",
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        try {
            FilterFile::read(bytes, columns);
            ADD_FAILURE() << "read";
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), u"Can't build filter from source"_s);
        }
    }
}

TEST_F(FilterFileTest, TheMessageComesFromTheRegistry)
{
    componentTexts().add(u"Can't build filter from source", u"Filtro illeggibile");
    try {
        FilterFile::read("nonsense", columns);
        ADD_FAILURE() << "read";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), u"Filtro illeggibile"_s);
    }
    componentTexts().clear();
}

TEST_F(FilterFileTest, SavesAndLoadsFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prova.flt"_s);
    const FilterExpression filter = everything();
    FilterFile::save(path, filter);
    EXPECT_EQ(TestEnvironment::readFile(path), FilterFile::write(filter));
    EXPECT_EQ(FilterFile::load(path, columns), filter);
    EXPECT_THROW(FilterFile::load(dir.filePath(u"missing.flt"_s), columns), Error);
}

} // namespace
