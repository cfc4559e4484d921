#pragma once

#include <QAbstractScrollArea>

class PageStore;

// Shows one page of a store on a grey desk, at a zoom that fits the whole
// page, shows it at its real size, or fits its width.
class PreviewPageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    enum class Zoom { Fit, Actual, Width };

    explicit PreviewPageView(QWidget* parent = nullptr);

    void setPages(const PageStore* pages);
    // The page shown, counted from 0; -1 for none.
    void setPage(int page);
    int page() const { return m_page; }
    void setZoom(Zoom zoom);
    Zoom zoom() const { return m_zoom; }
    // Screen pixels per millimetre of paper at the current zoom.
    double pixelsPerMm() const;
    // Where the paper is drawn, in viewport coordinates.
    QRect paperRect() const;
    // The pages changed: the view draws them anew.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    double paperWidthMm() const;
    double paperLengthMm() const;

    const PageStore* m_pages = nullptr;
    int m_page = -1;
    Zoom m_zoom = Zoom::Width;
};
