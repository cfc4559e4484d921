#pragma once

#include "reportpreview.h"
#include "reporttemplate.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class PageStore;
class QPaintDevice;
class QPrinter;
class QWidget;
class RecordSource;
class ReportGenerator;

// A report at run time: its template over a source of records, the printer
// with the choices confirmed in its set-up, and the busy mark that refuses a
// further preview or print while pages are being made.
class Report : public QObject
{
    Q_OBJECT

public:
    Report(const ReportTemplate& layout, RecordSource& source, QObject* parent = nullptr);
    ~Report() override;

    const ReportTemplate& layout() const { return m_layout; }
    RecordSource& source() const { return m_source; }
    bool isBusy() const { return m_busy; }

    // The printer and the choices confirmed in its set-up (A4, one copy,
    // portrait, all pages at first), kept for every later print. Its device
    // is the one preview pages are measured on, so that they break their
    // lines as the printed ones do.
    QPrinter& printer();
    // The template as the next generation uses it: in the printer's
    // orientation.
    ReportTemplate effectiveLayout();

    struct Handlers
    {
        std::function<void(int page)> pageFinished;
        std::function<void(int percent)> progress;
    };
    // Makes the pages into the store, measured on the device, letting pending
    // events run between records. Returns false when refused because the
    // report is busy, or when cancelled.
    bool generate(PageStore& pages, const QPaintDevice& device, const Handlers& handlers);
    // Stops the generation under way.
    void cancel();

    // Opens the preview window, maximised, and makes the pages into it;
    // returns when the window is closed. Refused while busy; while a preview
    // is open, that one comes to the front instead.
    void preview();
    ReportPreview* previewWindow() const { return m_preview; }

    // True when print can send pages: a printer is installed, or the set-up
    // chose a file.
    bool canPrint();
    // The system's print dialog on the held printer: printer, copies,
    // orientation, page range within 1 and pageCount. True when confirmed.
    bool printerSetup(QWidget* parent, int pageCount);
    // Makes the pages again for the printer, as the job named by the title,
    // and sends those within the chosen range, with a progress window that
    // can cancel. Does nothing without a printer or while busy.
    void print(QWidget* parent);
    // Sends pages already made, as they are, the same way.
    void printPages(const PageStore& pages, QWidget* parent);

signals:
    void busyChanged(bool busy);

private:
    class BusyMark;
    class PrintJob;

    const ReportTemplate& m_layout;
    RecordSource& m_source;
    std::unique_ptr<QPrinter> m_printer;
    bool m_busy = false;
    ReportGenerator* m_generator = nullptr;
    QPointer<ReportPreview> m_preview;
};
