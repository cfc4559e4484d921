#include "htmlpage.h"

#include "atomicfile.h"
#include "cellstyle.h"
#include "codepage.h"
#include "listingtable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

// The page is produced twice by the same code: once to measure it, once to
// fill a buffer of exactly that size, so that it is never copied or grown.
class SizeCounter
{
public:
    void put(std::string_view bytes) { m_size += qsizetype(bytes.size()); }
    void put(char) { ++m_size; }
    qsizetype size() const { return m_size; }

private:
    qsizetype m_size = 0;
};

class BufferWriter
{
public:
    explicit BufferWriter(char* out)
        : m_out(out)
    { }
    void put(std::string_view bytes)
    {
        std::memcpy(m_out, bytes.data(), bytes.size());
        m_out += bytes.size();
    }
    void put(char c) { *m_out++ = c; }
    const char* end() const { return m_out; }

private:
    char* m_out;
};

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

void appendNumber(QByteArray& out, long long number)
{
    char digits[24];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
    out.append(digits, result.ptr - digits);
}

void appendColour(QByteArray& out, const RgbColour& colour)
{
    out += "rgb(";
    appendNumber(out, colour.red);
    out += ',';
    appendNumber(out, colour.green);
    out += ',';
    appendNumber(out, colour.blue);
    out += ')';
}

QByteArray styleRule(int number, const CellStyle& style)
{
    QByteArray rule = ".Style";
    appendNumber(rule, number);
    rule += " { border-style: solid; padding: 3;";
    static constexpr std::array<const char*, 4> sides {"left", "top", "right", "bottom"};
    for (std::size_t side = 0; side < sides.size(); ++side) {
        rule += " border-";
        rule += sides[side];
        rule += "-width: ";
        appendNumber(rule, style.borders[side].width);
        rule += ';';
    }
    for (std::size_t side = 0; side < sides.size(); ++side) {
        rule += " border-";
        rule += sides[side];
        rule += "-color: ";
        appendColour(rule, style.borders[side].colour);
        rule += ';';
    }
    rule += " font-family: '";
    rule += CodePage::windows1252().encode(style.fontName);
    rule += "'; mso-font-charset: ";
    appendNumber(rule, style.fontCharset);
    rule += ';';
    if (style.fontStyle.bold)
        rule += " font-weight: bold;";
    if (style.fontStyle.italic)
        rule += " font-style: italic;";
    if (style.fontStyle.underline)
        rule += " text-decoration: underline;";
    else if (style.fontStyle.strikeOut)
        rule += " text-decoration: line-through;";
    rule += " font-size: ";
    appendNumber(rule, style.fontSize);
    rule += "pt; color: ";
    appendColour(rule, style.fontColour);
    rule += "; background-color: ";
    appendColour(rule, style.background);
    rule += "}\r\n\r\n";
    return rule;
}

// What follows "<TD" and the spans in a cell of a style: " NOWRAP ALIGN=...
// CLASS=StyleN>".
QByteArray cellOpening(int classNumber, CellAlignment alignment)
{
    QByteArray opening = " NOWRAP ALIGN=";
    switch (alignment) {
    case CellAlignment::Left:
        opening += "LEFT";
        break;
    case CellAlignment::Centre:
        opening += "CENTER";
        break;
    case CellAlignment::Right:
        opening += "RIGHT";
        break;
    }
    opening += " CLASS=Style";
    appendNumber(opening, classNumber);
    opening += '>';
    return opening;
}

// How each byte of a text goes out: 0 unchanged, otherwise the index of its
// replacement.
constexpr std::array<unsigned char, 256> escapeKinds = [] {
    std::array<unsigned char, 256> kinds {};
    kinds['<'] = 1;
    kinds['>'] = 2;
    kinds['&'] = 3;
    kinds['"'] = 4;
    kinds['\n'] = 5;
    kinds['\r'] = 6;
    return kinds;
}();
constexpr std::array<std::string_view, 6> replacements {
    ""sv, "&lt;"sv, "&gt;"sv, "&amp;"sv, "&quot;"sv, "<BR>"sv};

// Markup characters escaped; with lineBreaks, a CR LF pair or a lone LF
// becomes "<BR>" and a lone CR stays.
template<class Sink>
void putEscaped(Sink& sink, QByteArrayView text, bool lineBreaks)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    const char* plain = p;
    while (p != end) {
        const unsigned char kind = escapeKinds[static_cast<unsigned char>(*p)];
        if (kind == 0 || (!lineBreaks && kind >= 5)) {
            ++p;
            continue;
        }
        if (kind == 6 && (p + 1 == end || p[1] != '\n')) {
            ++p;
            continue;
        }
        sink.put(std::string_view(plain, std::size_t(p - plain)));
        if (kind == 6) {
            sink.put(replacements[5]);
            p += 2;
        } else {
            sink.put(replacements[kind]);
            ++p;
        }
        plain = p;
    }
    sink.put(std::string_view(plain, std::size_t(p - plain)));
}

template<class Sink>
void putNumber(Sink& sink, int number)
{
    char digits[16];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
    sink.put(std::string_view(digits, std::size_t(result.ptr - digits)));
}

struct PageParts
{
    QByteArray title; // in the code page's bytes
    std::vector<QByteArray> rules; // the style sheet, one rule per class
    std::vector<QByteArray> openings; // by style number + 1
};

template<class Sink>
void putPage(Sink& sink, const PageParts& parts, const ListingTable& table)
{
    sink.put("<HTML>\r\n<HEAD>\r\n<TITLE>"sv);
    putEscaped(sink, parts.title, false);
    sink.put("</TITLE>\r\n<STYLE TYPE=\"text/css\"><!--\r\n"sv);
    for (const QByteArray& rule : parts.rules)
        sink.put(view(rule));
    sink.put("--></STYLE>\r\n</HEAD>\r\n<BODY>\r\n"sv);

    sink.put("<TABLE BORDER=0 CELLSPACING=0>\r\n<TR>\r\n"sv);
    for (const int width : table.columnWidths()) {
        sink.put("<TD  WIDTH="sv);
        putNumber(sink, width);
        sink.put(" HEIGHT=0></TD>\r\n"sv);
    }
    sink.put("</TR>\r\n"sv);

    const int columns = table.columnCount();
    for (int row = 0; row < table.rowCount(); ++row) {
        sink.put("<TR>\r\n"sv);
        for (int column = 0; column < columns; ++column) {
            if (table.isCovered(column, row))
                continue;
            sink.put("<TD"sv);
            const int columnSpan = table.columnSpan(column, row);
            if (columnSpan > 1) {
                sink.put(" COLSPAN="sv);
                putNumber(sink, columnSpan);
            }
            const int rowSpan = table.rowSpan(column, row);
            if (rowSpan > 1) {
                sink.put(" ROWSPAN="sv);
                putNumber(sink, rowSpan);
            }
            sink.put(view(parts.openings[std::size_t(table.styleNumber(column, row) + 1)]));
            const QByteArrayView text = table.textBytes(column, row);
            if (text.isEmpty())
                sink.put("&nbsp"sv);
            else
                putEscaped(sink, text, true);
            sink.put("</TD>\r\n"sv);
        }
        sink.put("</TR>\r\n"sv);
    }
    sink.put("</TABLE>\r\n</BODY>\r\n</HTML>"sv);
}

PageParts pageParts(const QString& title, const ListingTable& table, const StyleRegistry& registry)
{
    PageParts parts;
    parts.title = CodePage::windows1252().encode(title);
    const std::vector<CellStyle>& styles = registry.styles();
    for (std::size_t number = 0; number < styles.size(); ++number)
        parts.rules.push_back(styleRule(int(number), styles[number]));

    // A written cell must name a class. One left at -1 takes the class of
    // DefaultCellStyle, which joins the style sheet when it is not there.
    bool defaultUsed = false;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            if (table.isCovered(column, row))
                continue;
            const int number = table.styleNumber(column, row);
            if (number < -1 || number >= registry.count())
                throw std::out_of_range("listing cell with a style number not registered");
            defaultUsed = defaultUsed || number == -1;
        }
    }
    const CellStyle defaultStyle = DefaultCellStyle();
    int defaultClass = int(std::find(styles.begin(), styles.end(), defaultStyle) - styles.begin());
    if (defaultUsed && defaultClass == registry.count())
        parts.rules.push_back(styleRule(defaultClass, defaultStyle));

    parts.openings.push_back(cellOpening(defaultClass, defaultStyle.alignment));
    for (std::size_t number = 0; number < styles.size(); ++number)
        parts.openings.push_back(cellOpening(int(number), styles[number].alignment));
    return parts;
}

} // namespace

QByteArray htmlPageBytes(
    const QString& title, const ListingTable& table, const StyleRegistry& registry)
{
    const PageParts parts = pageParts(title, table, registry);
    SizeCounter counter;
    putPage(counter, parts, table);
    QByteArray page(counter.size(), Qt::Uninitialized);
    BufferWriter writer(page.data());
    putPage(writer, parts, table);
    Q_ASSERT(writer.end() == page.constData() + page.size());
    return page;
}

void WriteHtmlPage(const QString& path, const ListingTable& table, const StyleRegistry& registry)
{
    const QByteArray page = htmlPageBytes(path, table, registry);
    writeFileAtomically(path, page);
}
