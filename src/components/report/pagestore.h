#pragma once

#include "reporttemplate.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

// The pages a report has produced, kept compactly: each page is a short list
// of placed elements (band backgrounds, texts with their lines, lines) that
// refer to a table of element styles. Lengths are hundredths of a millimetre
// from the paper's top-left corner.

enum class ElementKind : unsigned char { Band, Text, Line };

// How one band or item of the template is drawn, fixed for all its pages.
struct ElementStyle
{
    QString name;
    ElementKind kind = ElementKind::Text;
    QFont font;
    // Text and line colour; the fill of a band.
    QColor colour;
    ReportAlignment alignment = ReportAlignment::Left;
    // Texts: the box is filled white first.
    bool opaque = true;
    // Lines: thickness in pixels of the output device.
    int lineWidth = 2;
    // Texts: distance between the tops of two lines and from a line's top to
    // its baseline, in millimetres, as measured on the output device.
    double lineHeight = 0;
    double ascent = 0;

    bool operator==(const ElementStyle& other) const = default;
};

struct PageBox
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const PageBox& other) const = default;
};

struct PlacedElement
{
    int style = 0;
    PageBox box;
    QStringList lines; // texts only
};

struct PageContent
{
    std::vector<PlacedElement> elements;
};

class PageStore
{
public:
    // Drops the styles and the pages.
    void clear();

    void setPaperSize(int width, int length);
    int paperWidth() const { return m_paperWidth; }
    int paperLength() const { return m_paperLength; }

    int addStyle(const ElementStyle& style);
    const std::vector<ElementStyle>& styles() const { return m_styles; }

    // --- Writing, one page at a time
    void beginPage();
    // A band's background or a line.
    void addBox(int style, const PageBox& box);
    void addText(int style, const PageBox& box, std::span<const QStringView> lines);
    void endPage();
    bool isPageOpen() const { return m_open; }

    // --- Reading
    // Pages finished so far.
    int pageCount() const { return int(m_pages.size()); }
    // False for a page that was released.
    bool isAvailable(int page) const;
    PageContent content(int page) const;
    // Frees the content of a page that has been used up (printed); it keeps
    // its number.
    void releasePage(int page);

    // The encoded form of a page, and a page added in that form; used by the
    // page file. addEncodedPage refuses bytes that do not decode against the
    // styles.
    const QByteArray& encodedPage(int page) const { return m_pages[std::size_t(page)]; }
    bool addEncodedPage(QByteArray bytes);

    // What the pages take in memory, styles aside.
    std::size_t memoryBytes() const;

private:
    std::vector<ElementStyle> m_styles;
    std::vector<QByteArray> m_pages;
    QByteArray m_current;
    bool m_open = false;
    int m_paperWidth = 21000;
    int m_paperLength = 29700;
};
