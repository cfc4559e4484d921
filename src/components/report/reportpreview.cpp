#include "reportpreview.h"

#include "error.h"
#include "pagestorefile.h"
#include "previewicons.h"
#include "previewpageview.h"
#include "report.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

namespace {

const QString fileFilter = QStringLiteral("Report pages (*.trp);;All files (*)");

} // namespace

ReportPreview::ReportPreview(Report& report, QWidget* parent)
    : QMainWindow(parent)
    , m_report(report)
    , m_view(new PreviewPageView(this))
    , m_progressLabel(new QLabel(this))
    , m_pageLabel(new QLabel(this))
{
    setWindowTitle(report.layout().title);
    setAttribute(Qt::WA_QuitOnClose, false);
    setCentralWidget(m_view);
    m_view->setPages(&m_pages);
    m_view->setZoom(PreviewPageView::Zoom::Width);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("previewTools"));
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->setContextMenuPolicy(Qt::PreventContextMenu);
    tools->setIconSize(QSize(24, 24));
    addToolBar(tools);
    addTool(QStringLiteral("Zoom to fit"), previewIcon(PreviewIcon::ZoomToFit),
        &ReportPreview::zoomToFit);
    addTool(QStringLiteral("100%"), previewIcon(PreviewIcon::Zoom100), &ReportPreview::zoom100);
    addTool(QStringLiteral("Zoom to width"), previewIcon(PreviewIcon::ZoomToWidth),
        &ReportPreview::zoomToWidth);
    tools->addSeparator();
    m_firstAction = addTool(QStringLiteral("First page"), previewIcon(PreviewIcon::FirstPage),
        &ReportPreview::firstPage);
    m_previousAction = addTool(QStringLiteral("Previous page"),
        previewIcon(PreviewIcon::PreviousPage), &ReportPreview::previousPage);
    m_nextAction = addTool(
        QStringLiteral("Next page"), previewIcon(PreviewIcon::NextPage), &ReportPreview::nextPage);
    m_lastAction = addTool(
        QStringLiteral("Last page"), previewIcon(PreviewIcon::LastPage), &ReportPreview::lastPage);
    tools->addSeparator();
    m_setupAction = addTool(QStringLiteral("Printer setup"), previewIcon(PreviewIcon::PrinterSetup),
        &ReportPreview::printerSetup);
    m_printAction
        = addTool(QStringLiteral("Print"), previewIcon(PreviewIcon::Print), &ReportPreview::print);
    tools->addSeparator();
    m_saveAction = addTool(
        QStringLiteral("Save Report"), previewIcon(PreviewIcon::Save), &ReportPreview::save);
    m_loadAction = addTool(
        QStringLiteral("Load Report"), previewIcon(PreviewIcon::Load), &ReportPreview::load);
    tools->addSeparator();
    m_closeButton = new QPushButton(QStringLiteral("&Close"), tools);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    tools->addWidget(m_closeButton);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);

    m_progressLabel->setObjectName(QStringLiteral("progressLabel"));
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_progressLabel->setMinimumWidth(60);
    statusBar()->addWidget(m_progressLabel);
    statusBar()->addWidget(m_pageLabel, 1);
    statusBar()->setSizeGripEnabled(false);

    setUpShortcuts();
    updateActions();
    m_view->setFocus();
}

ReportPreview::~ReportPreview()
{
    if (m_generating)
        m_report.cancel();
}

QAction* ReportPreview::addTool(
    const QString& hint, const QIcon& icon, void (ReportPreview::*slot)())
{
    auto* tools = findChild<QToolBar*>(QStringLiteral("previewTools"));
    QAction* action = tools->addAction(icon, hint);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void ReportPreview::setUpShortcuts()
{
    const struct
    {
        QKeySequence key;
        void (ReportPreview::*slot)();
    } keys[] = {
        {QKeySequence(Qt::Key_PageUp), &ReportPreview::previousPage},
        {QKeySequence(Qt::Key_PageDown), &ReportPreview::nextPage},
        {QKeySequence(Qt::Key_Home), &ReportPreview::firstPage},
        {QKeySequence(Qt::Key_End), &ReportPreview::lastPage},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), &ReportPreview::firstPage},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), &ReportPreview::lastPage},
    };
    for (const auto& [key, slot] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, slot);
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void ReportPreview::generate()
{
    if (m_generating || m_closed)
        return;
    m_generating = true;
    m_complete = false;
    m_loaded = false;
    m_view->setPage(-1);
    setProgress(0);
    updatePageText();
    updateActions();
    Report::Handlers handlers;
    handlers.pageFinished = [this](int page) { pageFinished(page); };
    handlers.progress = [this](int percent) { setProgress(percent); };
    bool complete = false;
    try {
        complete = m_report.generate(m_pages, m_report.printer(), handlers);
    } catch (...) {
        m_generating = false;
        setProgress(100);
        updateActions();
        throw;
    }
    m_generating = false;
    m_complete = complete;
    setProgress(100);
    updatePageText();
    updateActions();
}

void ReportPreview::pageFinished(int page)
{
    if (page == 0) {
        m_view->setZoom(PreviewPageView::Zoom::Width);
        m_view->setPage(0);
    }
    updatePageText();
    updateActions();
}

// The percentage shows when it has grown by at least 5 since it was last
// shown; it is cleared at 0 and at 100.
void ReportPreview::setProgress(int percent)
{
    if (percent <= 0 || percent >= 100) {
        m_shownProgress = percent;
        m_progressLabel->clear();
    } else if (percent - m_shownProgress >= 5) {
        m_shownProgress = percent;
        m_progressLabel->setText(QString::number(percent) + u'%');
    }
}

QString ReportPreview::progressText() const
{
    return m_progressLabel->text();
}

QString ReportPreview::pageText() const
{
    return m_pageLabel->text();
}

int ReportPreview::currentPage() const
{
    return m_view->page();
}

void ReportPreview::showPage(int page)
{
    if (pageCount() == 0)
        return;
    m_view->setPage(std::clamp(page, 0, pageCount() - 1));
    updatePageText();
    updateActions();
}

void ReportPreview::updatePageText()
{
    if (pageCount() == 0 || currentPage() < 0)
        m_pageLabel->clear();
    else
        m_pageLabel->setText(
            QStringLiteral("Page %1 of %2").arg(currentPage() + 1).arg(pageCount()));
}

void ReportPreview::updateActions()
{
    const int page = currentPage();
    const bool any = pageCount() > 0 && page >= 0;
    m_firstAction->setEnabled(any && page > 0);
    m_previousAction->setEnabled(any && page > 0);
    m_nextAction->setEnabled(any && page + 1 < pageCount());
    m_lastAction->setEnabled(any && page + 1 < pageCount());
    const bool done = !m_generating && (m_complete || m_loaded);
    m_setupAction->setEnabled(done && !m_loaded);
    m_printAction->setEnabled(done);
    m_saveAction->setEnabled(done && pageCount() > 0);
    m_loadAction->setEnabled(!m_generating);
}

void ReportPreview::firstPage()
{
    showPage(0);
}

void ReportPreview::previousPage()
{
    showPage(currentPage() - 1);
}

void ReportPreview::nextPage()
{
    showPage(currentPage() + 1);
}

void ReportPreview::lastPage()
{
    showPage(pageCount() - 1);
}

void ReportPreview::zoomToFit()
{
    m_view->setZoom(PreviewPageView::Zoom::Fit);
}

void ReportPreview::zoom100()
{
    m_view->setZoom(PreviewPageView::Zoom::Actual);
}

void ReportPreview::zoomToWidth()
{
    m_view->setZoom(PreviewPageView::Zoom::Width);
}

void ReportPreview::printerSetup()
{
    if (!m_setupAction->isEnabled())
        return;
    m_report.printerSetup(this, pageCount());
}

void ReportPreview::print()
{
    if (!m_printAction->isEnabled())
        return;
    if (m_loaded)
        m_report.printPages(m_pages, this);
    else
        m_report.print(this);
}

void ReportPreview::save()
{
    if (!m_saveAction->isEnabled())
        return;
    const QString path
        = QFileDialog::getSaveFileName(this, QStringLiteral("Save Report"), QString(), fileFilter);
    if (!path.isEmpty())
        saveToFile(path);
}

void ReportPreview::load()
{
    if (!m_loadAction->isEnabled())
        return;
    const QString path
        = QFileDialog::getOpenFileName(this, QStringLiteral("Load Report"), QString(), fileFilter);
    if (!path.isEmpty())
        loadFromFile(path);
}

bool ReportPreview::saveToFile(const QString& path)
{
    try {
        PageStoreFile::save(m_pages, path);
        return true;
    } catch (const Error& error) {
        showMessage(withFullStop(error.message()));
        return false;
    }
}

bool ReportPreview::loadFromFile(const QString& path)
{
    if (m_generating)
        return false;
    try {
        PageStoreFile::load(path, m_pages);
    } catch (const Error& error) {
        showMessage(error.message());
        return false;
    }
    m_loaded = true;
    m_view->setPage(-1);
    m_view->refresh();
    if (pageCount() > 0)
        m_view->setPage(0);
    updatePageText();
    updateActions();
    return true;
}

void ReportPreview::showMessage(const QString& message)
{
    QMessageBox::warning(this, QApplication::applicationDisplayName(), message);
}

void ReportPreview::closeEvent(QCloseEvent* event)
{
    if (m_generating)
        m_report.cancel();
    m_closed = true;
    m_pages.clear();
    m_view->setPage(-1);
    QMainWindow::closeEvent(event);
    emit closed();
}
