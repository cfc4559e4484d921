#include "codepage.h"
#include "collation.h"

#include <QCollator>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

const QStringList samples = {
    QString(),
    QStringLiteral("alfa"),
    QStringLiteral("Alfa"),
    QStringLiteral("ALFA"),
    QStringLiteral("àlfa"),
    QStringLiteral("Beta"),
    QStringLiteral("beta"),
    QStringLiteral("«Il bacio» e altri racconti"),
    QStringLiteral("Il ritorno"),
    QStringLiteral("Il Ritorno"),
    QStringLiteral("Città"),
    QStringLiteral("Citta"),
    QStringLiteral("10 piccoli indiani"),
    QStringLiteral("9 racconti"),
    QStringLiteral("L'estate"),
    QStringLiteral("Lestate"),
    QStringLiteral("Zeta"),
    QStringLiteral("  spazi"),
    QStringLiteral("Œuvre"),
};

} // namespace

// The order is the one QCollator gives for the locale.
TEST(Collation, AgreesWithQCollator)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const Collation collation(italian);
    const QCollator collator(italian);
    for (const QString& a : samples) {
        for (const QString& b : samples) {
            const int expected = collator.compare(a, b);
            EXPECT_EQ(collation.compare(a, b), (expected > 0) - (expected < 0))
                << a.toStdString() << " / " << b.toStdString();
        }
    }
}

TEST(Collation, CaseIsSignificantAndEmptyComesFirst)
{
    const Collation collation(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_NE(collation.compare(u"alfa", u"ALFA"), 0);
    EXPECT_LT(collation.compare(u"", u" "), 0);
    EXPECT_LT(collation.compareBytes("", "A"), 0);
}

TEST(Collation, SortKeysOrderAsTheComparison)
{
    const Collation collation(QLocale(QLocale::Italian, QLocale::Italy));
    std::vector<QByteArray> texts;
    for (const QString& s : samples)
        texts.push_back(CodePage::windows1252().encode(s));
    // Repeats keep their order: the sort is stable.
    texts.push_back(texts[2]);
    const SortKeys keys(
        collation, texts.size(), [&](std::size_t i) { return QByteArrayView(texts[i]); });
    const std::vector<uint32_t> order = sortedOrder(keys);

    std::vector<uint32_t> expected(texts.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
        [&](uint32_t a, uint32_t b) { return collation.compareBytes(texts[a], texts[b]) < 0; });
    EXPECT_EQ(order, expected);
}
