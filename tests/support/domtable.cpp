#include "domtable.h"

#include <QRegularExpression>

void PrintTo(const DomCell& cell, std::ostream* out)
{
    *out << "{colspan=" << cell.columnSpan.toStdString()
         << " rowspan=" << cell.rowSpan.toStdString() << " align=" << cell.align.toStdString()
         << " class=" << cell.cssClass.toStdString() << " \"" << cell.html.toStdString() << "\"}";
}

namespace {

QString attribute(const QString& attributes, const QString& name)
{
    const QRegularExpression pattern(QStringLiteral("\\b%1=\"([^\"]*)\"").arg(name));
    return pattern.match(attributes).captured(1);
}

} // namespace

std::vector<std::vector<DomCell>> domTableRows(const QString& dom)
{
    static const QRegularExpression table(QStringLiteral("<table[^>]*>(.*?)</table>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression row(
        QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(
        QStringLiteral("<td([^>]*)>(.*?)</td>"), QRegularExpression::DotMatchesEverythingOption);

    std::vector<std::vector<DomCell>> rows;
    const QString body = table.match(dom).captured(1);
    for (const auto& r : row.globalMatch(body)) {
        std::vector<DomCell>& cells = rows.emplace_back();
        for (const auto& c : cell.globalMatch(r.captured(1))) {
            const QString attributes = c.captured(1);
            cells.push_back({attribute(attributes, QStringLiteral("colspan")),
                attribute(attributes, QStringLiteral("rowspan")),
                attribute(attributes, QStringLiteral("align")),
                attribute(attributes, QStringLiteral("class")), c.captured(2)});
        }
    }
    return rows;
}
