#pragma once

#include "pagestore.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QPushButton;
class PreviewPageView;
class Report;

// The print preview of a report: not modal, captioned with the report's
// title. It shows the pages while they are made, page 1 zoomed to its width
// as soon as it is complete, with the progress and the page position in its
// status bar. Printer set-up and print are offered once every page is there;
// the pages can be saved to a file and loaded back. Closing it discards the
// pages.
class ReportPreview : public QMainWindow
{
    Q_OBJECT

public:
    explicit ReportPreview(Report& report, QWidget* parent = nullptr);
    ~ReportPreview() override;

    // Makes the report's pages into the window, showing them as they come;
    // returns when all are there or the window was closed.
    void generate();
    bool isGenerating() const { return m_generating; }
    bool isComplete() const { return m_complete; }
    // True when the pages shown were loaded from a file.
    bool showsLoadedPages() const { return m_loaded; }

    const PageStore& pages() const { return m_pages; }
    int pageCount() const { return m_pages.pageCount(); }
    // The page shown, counted from 0; -1 before the first page exists.
    int currentPage() const;
    void showPage(int page);
    PreviewPageView* view() const { return m_view; }

    QString progressText() const;
    QString pageText() const;

    // Writes the pages to a file; a failure is shown to the user.
    bool saveToFile(const QString& path);
    // Shows the pages of a file from page 1; a failure is shown to the user
    // and the pages shown stay.
    bool loadFromFile(const QString& path);

    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomToFit();
    void zoom100();
    void zoomToWidth();
    void printerSetup();
    void print();
    void save();
    void load();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addTool(const QString& hint, const QIcon& icon, void (ReportPreview::*slot)());
    void setUpShortcuts();
    void pageFinished(int page);
    void setProgress(int percent);
    void updatePageText();
    void updateActions();
    void showMessage(const QString& message);

    Report& m_report;
    PageStore m_pages;
    PreviewPageView* m_view;
    QLabel* m_progressLabel;
    QLabel* m_pageLabel;
    QAction* m_firstAction = nullptr;
    QAction* m_previousAction = nullptr;
    QAction* m_nextAction = nullptr;
    QAction* m_lastAction = nullptr;
    QAction* m_setupAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_loadAction = nullptr;
    QPushButton* m_closeButton = nullptr;
    bool m_generating = false;
    bool m_complete = false;
    bool m_loaded = false;
    bool m_closed = false;
    int m_shownProgress = 0;
};
