#include "report.h"

#include "error.h"
#include "pagerenderer.h"
#include "pagestore.h"
#include "printprogressdialog.h"
#include "recordsource.h"
#include "reportgenerator.h"
#include "reportpreview.h"

#include <QApplication>
#include <QEventLoop>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

class Report::BusyMark
{
public:
    explicit BusyMark(Report& report)
        : m_report(report)
    {
        m_report.m_busy = true;
        emit m_report.busyChanged(true);
    }
    ~BusyMark()
    {
        m_report.m_busy = false;
        emit m_report.busyChanged(false);
    }

private:
    Report& m_report;
};

// Sends pages to the printer as they come: those within the chosen range,
// each on a new sheet after the first.
class Report::PrintJob
{
public:
    PrintJob(QPrinter& printer, const PageStore& pages)
        : m_printer(printer)
        , m_renderer(pages)
    {
        if (printer.printRange() == QPrinter::PageRange) {
            m_from = printer.fromPage();
            m_to = printer.toPage();
        }
    }

    bool inRange(int page) const
    {
        const int number = page + 1;
        return (m_from <= 0 || number >= m_from) && (m_to <= 0 || number <= m_to);
    }

    // False when the job could not start.
    bool send(int page)
    {
        if (!inRange(page))
            return true;
        if (!m_painter.isActive()) {
            if (!m_painter.begin(&m_printer))
                return false;
        } else {
            m_printer.newPage();
        }
        m_renderer.renderActualSize(m_painter, page);
        return true;
    }

    void finish(bool complete)
    {
        if (!m_painter.isActive())
            return;
        if (!complete)
            m_printer.abort();
        m_painter.end();
    }

private:
    QPrinter& m_printer;
    PageRenderer m_renderer;
    QPainter m_painter;
    int m_from = 0;
    int m_to = 0;
};

namespace {

Error printingFailed(const QPrinter& printer)
{
    const QString target
        = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
    return Error(QStringLiteral("Cannot start printing on \"%1\"").arg(target));
}

} // namespace

Report::Report(const ReportTemplate& layout, RecordSource& source, QObject* parent)
    : QObject(parent)
    , m_layout(layout)
    , m_source(source)
{ }

Report::~Report()
{
    if (m_preview)
        m_preview->close();
}

QPrinter& Report::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setPageOrientation(m_layout.page.orientation);
        m_printer->setCopyCount(1);
        m_printer->setDuplex(QPrinter::DuplexNone);
        m_printer->setPaperSource(QPrinter::Auto);
        m_printer->setPrintRange(QPrinter::AllPages);
        m_printer->setFullPage(true);
        m_printer->setDocName(m_layout.title);
    }
    return *m_printer;
}

ReportTemplate Report::effectiveLayout()
{
    ReportTemplate layout = m_layout;
    layout.page.orientation = printer().pageLayout().orientation();
    return layout;
}

bool Report::generate(PageStore& pages, const QPaintDevice& device, const Handlers& handlers)
{
    if (m_busy)
        return false;
    BusyMark busy(*this);
    const ReportTemplate layout = effectiveLayout();
    ReportGenerator generator(layout, m_source, device, pages);
    generator.onPageFinished = handlers.pageFinished;
    generator.onProgress = handlers.progress;
    m_generator = &generator;
    struct Reset
    {
        ReportGenerator*& generator;
        ~Reset() { generator = nullptr; }
    } reset {m_generator};
    return generator.run();
}

void Report::cancel()
{
    if (m_generator)
        m_generator->cancel();
}

void Report::preview()
{
    if (m_busy)
        return;
    if (m_preview) {
        m_preview->raise();
        m_preview->activateWindow();
        return;
    }
    ReportPreview window(*this);
    m_preview = &window;
    QEventLoop loop;
    connect(&window, &ReportPreview::closed, &loop, &QEventLoop::quit);
    // The program's last window closed: the preview goes with it.
    connect(qApp, &QGuiApplication::lastWindowClosed, &window, &QWidget::close);
    window.showMaximized();
    window.generate();
    if (window.isVisible())
        loop.exec();
    m_preview = nullptr;
}

bool Report::canPrint()
{
    QPrinter& p = printer();
    if (p.outputFormat() == QPrinter::PdfFormat)
        return !p.outputFileName().isEmpty();
    return !p.printerName().isEmpty();
}

bool Report::printerSetup(QWidget* parent, int pageCount)
{
    QPrintDialog dialog(&printer(), parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, std::max(1, pageCount));
    return dialog.exec() == QDialog::Accepted;
}

void Report::print(QWidget* parent)
{
    if (m_busy || !canPrint())
        return;
    QPrinter& p = printer();
    p.setDocName(m_layout.title);
    p.setFullPage(true);

    PrintProgressDialog progress(parent);
    connect(&progress, &PrintProgressDialog::cancelled, this, &Report::cancel);
    progress.show();

    PageStore pages;
    PrintJob job(p, pages);
    bool failed = false;
    Handlers handlers;
    handlers.pageFinished = [&](int page) {
        if (!failed && !job.send(page)) {
            failed = true;
            cancel();
        }
        pages.releasePage(page);
    };
    handlers.progress = [&](int percent) { progress.setPercent(percent); };
    const bool complete = generate(pages, p, handlers);
    job.finish(complete);
    if (failed)
        throw printingFailed(p);
}

void Report::printPages(const PageStore& pages, QWidget* parent)
{
    if (m_busy || !canPrint() || pages.pageCount() == 0)
        return;
    BusyMark busy(*this);
    QPrinter& p = printer();
    p.setDocName(m_layout.title);
    p.setFullPage(true);
    // The sheets take the pages' own orientation; the choice of the set-up
    // stays for later generations.
    const QPageLayout::Orientation chosen = p.pageLayout().orientation();
    p.setPageOrientation(
        pages.paperWidth() > pages.paperLength() ? QPageLayout::Landscape : QPageLayout::Portrait);
    struct Restore
    {
        QPrinter& printer;
        QPageLayout::Orientation orientation;
        ~Restore() { printer.setPageOrientation(orientation); }
    } restore {p, chosen};

    PrintProgressDialog progress(parent);
    bool cancelled = false;
    connect(&progress, &PrintProgressDialog::cancelled, this, [&cancelled] { cancelled = true; });
    progress.show();

    PrintJob job(p, pages);
    const int count = pages.pageCount();
    for (int page = 0; page < count && !cancelled; ++page) {
        QCoreApplication::processEvents();
        if (cancelled)
            break;
        if (!job.send(page)) {
            job.finish(false);
            throw printingFailed(p);
        }
        progress.setPercent((page + 1) * 100 / count);
    }
    job.finish(!cancelled);
}
