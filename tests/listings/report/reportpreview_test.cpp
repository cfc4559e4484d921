#include "catalogtable.h"
#include "previewpageview.h"
#include "printprogressdialog.h"
#include "reportpreview.h"
#include "reporttestsupport.h"
#include "testenvironment.h"
#include "ufqrstscad.h"

#include <QAbstractPrintDialog>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>

namespace {

// A catalogue of plain books and the report form over it.
struct Catalogue
{
    explicit Catalogue(int books)
    {
        table.open();
        if (books > 1000)
            loadPlainBooks(table, books);
        else
            addPlainBooks(table, books);
    }

    // A preview window over the report, its pages made.
    std::unique_ptr<ReportPreview> completePreview()
    {
        auto window = std::make_unique<ReportPreview>(form.report());
        window->resize(900, 700);
        window->show();
        window->generate();
        return window;
    }

    CatalogueTable table {RegionalSettings::italian()};
    TFFQRSTSCAD form {table};
};

// Runs check on every pass of the event loop, also those that report
// generation and printing let run, until it returns true.
class Poll : public QObject
{
public:
    explicit Poll(std::function<bool()> check)
        : m_check(std::move(check))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_check())
                m_timer.stop();
        });
        m_timer.start(0);
    }

private:
    std::function<bool()> m_check;
    QTimer m_timer;
};

// Notes the text of the next message box and closes it.
struct MessageBoxAnswer
{
    QString text;
    QString title;
    Poll poll {[this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return false;
        text = box->text();
        title = box->windowTitle();
        box->accept();
        return true;
    }};
};

QAction* tool(ReportPreview& window, const QString& hint)
{
    for (QAction* action : window.findChild<QToolBar*>()->actions()) {
        if (action->toolTip() == hint)
            return action;
    }
    return nullptr;
}

void expectSamePages(const PageStore& a, const PageStore& b)
{
    QCOMPARE(a.pageCount(), b.pageCount());
    QVERIFY(a.styles() == b.styles());
    for (int page = 0; page < a.pageCount(); ++page) {
        const PageContent x = a.content(page);
        const PageContent y = b.content(page);
        QCOMPARE(x.elements.size(), y.elements.size());
        for (std::size_t i = 0; i < x.elements.size(); ++i) {
            QVERIFY(x.elements[i].box == y.elements[i].box);
            QCOMPARE(x.elements[i].lines, y.elements[i].lines);
        }
    }
}

} // namespace

class ReportPreviewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnvironment::pin();
        registerReportFonts();
    }

    void previewReportShowsAWindowThatIsNotModalAndReturnsWhenItCloses()
    {
        Catalogue catalogue(30);
        catalogue.table.first();
        QString caption;
        bool maximised = false;
        Qt::WindowModality modality = Qt::ApplicationModal;
        bool secondReturned = false;
        Poll poll([&] {
            ReportPreview* window = catalogue.form.report().previewWindow();
            if (!window || !window->isComplete())
                return false;
            caption = window->windowTitle();
            maximised = window->isMaximized();
            modality = window->windowModality();
            // A second request while the preview is open does not open another.
            catalogue.form.PreviewReport();
            secondReturned = catalogue.form.report().previewWindow() == window;
            window->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
            return true;
        });
        catalogue.form.PreviewReport();
        QCOMPARE(caption, QStringLiteral("STAMPA LIBRI"));
        QVERIFY(maximised);
        QCOMPARE(modality, Qt::NonModal);
        QVERIFY(secondReturned);
        QVERIFY(!catalogue.form.report().previewWindow());
        // The walk left the table on its last book.
        QCOMPARE(catalogue.table.currentPosition(), 29);
        QCOMPARE(catalogue.form.windowTitle(), QStringLiteral("STAMPA LIBRI"));
    }

    void theToolsComeInOrderWithTheirHints()
    {
        Catalogue catalogue(3);
        ReportPreview window(catalogue.form.report());
        QStringList hints;
        for (QAction* action : window.findChild<QToolBar*>()->actions()) {
            if (!action->isSeparator() && !action->toolTip().isEmpty() && !action->icon().isNull())
                hints << action->toolTip();
        }
        QCOMPARE(hints,
            QStringList({QStringLiteral("Zoom to fit"), QStringLiteral("100%"),
                QStringLiteral("Zoom to width"), QStringLiteral("First page"),
                QStringLiteral("Previous page"), QStringLiteral("Next page"),
                QStringLiteral("Last page"), QStringLiteral("Printer setup"),
                QStringLiteral("Print"), QStringLiteral("Save Report"),
                QStringLiteral("Load Report")}));
        auto* close = window.findChild<QPushButton*>(QStringLiteral("closeButton"));
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("&Close"));
        // The close button comes last.
        QVERIFY(window.findChild<QToolBar*>()->widgetForAction(
                    window.findChild<QToolBar*>()->actions().last())
            == close);
    }

    void page1ShowsAtOnceWhateverTheCatalogueSize()
    {
        Catalogue catalogue(100000);
        QElapsedTimer clock;
        qint64 shownAfter = -1;
        bool zoomedToWidth = false;
        Poll poll([&] {
            ReportPreview* window = catalogue.form.report().previewWindow();
            if (!window || window->currentPage() != 0)
                return false;
            shownAfter = clock.elapsed();
            zoomedToWidth
                = window->view()->zoom() == PreviewPageView::Zoom::Width && window->isGenerating();
            window->close();
            return true;
        });
        clock.start();
        catalogue.form.PreviewReport();
        const qint64 total = clock.elapsed();
        qInfo("page 1 shown after %lld ms; preview closed and returned after %lld ms", shownAfter,
            total);
        QVERIFY(shownAfter >= 0);
        QVERIFY2(shownAfter < 150, qPrintable(QString::number(shownAfter)));
        QVERIFY(zoomedToWidth);
        // Closing stopped the generation.
        QVERIFY(catalogue.table.currentPosition() < 1000);
    }

    void theStatusBarShowsProgressInStepsAndThePagePosition()
    {
        Catalogue catalogue(600);
        ReportPreview window(catalogue.form.report());
        window.show();
        QStringList progress;
        QStringList pages;
        bool printableMeanwhile = false;
        Poll poll([&] {
            if (!window.isGenerating())
                return false;
            if (progress.isEmpty() || progress.last() != window.progressText())
                progress << window.progressText();
            if (pages.isEmpty() || pages.last() != window.pageText())
                pages << window.pageText();
            printableMeanwhile = printableMeanwhile
                || tool(window, QStringLiteral("Print"))->isEnabled()
                || tool(window, QStringLiteral("Printer setup"))->isEnabled();
            return false;
        });
        window.generate();

        QCOMPARE(window.pageCount(), 41); // 13 + 39 x 15 + 7
        QCOMPARE(window.progressText(), QString());
        QCOMPARE(window.pageText(), QStringLiteral("Page 1 of 41"));
        QVERIFY(!printableMeanwhile);
        QVERIFY(tool(window, QStringLiteral("Print"))->isEnabled());
        QVERIFY(tool(window, QStringLiteral("Printer setup"))->isEnabled());

        progress.removeAll(QString());
        QVERIFY(progress.size() > 5);
        int last = 0;
        for (const QString& text : progress) {
            QVERIFY2(text.endsWith(u'%'), qPrintable(text));
            const int percent = text.chopped(1).toInt();
            QVERIFY2(percent - last >= 5, qPrintable(progress.join(u' ')));
            last = percent;
        }
        QCOMPARE(pages.first(), QString());
        QCOMPARE(pages.at(1), QStringLiteral("Page 1 of 1"));
        QVERIFY(pages.contains(QStringLiteral("Page 1 of 2")));
        QVERIFY(pages.contains(QStringLiteral("Page 1 of 40")));
    }

    void keysTurnThePagesAndEscCloses()
    {
        Catalogue catalogue(60); // 5 pages
        auto window = catalogue.completePreview();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->pageCount(), 5);
        const struct
        {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int page;
        } steps[] = {
            {Qt::Key_PageDown, Qt::NoModifier, 1},
            {Qt::Key_PageDown, Qt::NoModifier, 2},
            {Qt::Key_PageUp, Qt::NoModifier, 1},
            {Qt::Key_End, Qt::NoModifier, 4},
            {Qt::Key_PageDown, Qt::NoModifier, 4},
            {Qt::Key_Home, Qt::NoModifier, 0},
            {Qt::Key_PageUp, Qt::NoModifier, 0},
            {Qt::Key_PageDown, Qt::ControlModifier, 4},
            {Qt::Key_PageUp, Qt::ControlModifier, 0},
        };
        for (const auto& step : steps) {
            QTest::keyClick(window.get(), step.key, step.modifiers);
            QCOMPARE(window->currentPage(), step.page);
        }
        QCOMPARE(window->pageText(), QStringLiteral("Page 1 of 5"));
        QSignalSpy closed(window.get(), &ReportPreview::closed);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window->isVisible());
        // Closing discards the pages.
        QCOMPARE(window->pageCount(), 0);
    }

    void theToolsTurnPagesAndZoom()
    {
        Catalogue catalogue(30);
        auto window = catalogue.completePreview();
        tool(*window, QStringLiteral("Last page"))->trigger();
        QCOMPARE(window->pageText(), QStringLiteral("Page 3 of 3"));
        QVERIFY(!tool(*window, QStringLiteral("Next page"))->isEnabled());
        tool(*window, QStringLiteral("Previous page"))->trigger();
        QCOMPARE(window->currentPage(), 1);
        tool(*window, QStringLiteral("First page"))->trigger();
        QCOMPARE(window->currentPage(), 0);
        QVERIFY(!tool(*window, QStringLiteral("Previous page"))->isEnabled());

        PreviewPageView* view = window->view();
        const int room = view->viewport()->width();
        tool(*window, QStringLiteral("Zoom to fit"))->trigger();
        QVERIFY(view->paperRect().height() <= view->viewport()->height());
        tool(*window, QStringLiteral("100%"))->trigger();
        QCOMPARE(view->pixelsPerMm(), view->logicalDpiX() / 25.4);
        tool(*window, QStringLiteral("Zoom to width"))->trigger();
        QVERIFY(qAbs(view->paperRect().width() - (view->viewport()->width() - 24)) <= 1);
        QVERIFY(view->viewport()->width() <= room);
    }

    void printerSetupOffersOneCopyPortraitAndTheRangeOfThePages()
    {
        Catalogue catalogue(30);
        auto window = catalogue.completePreview();
        int minPage = -1;
        int maxPage = -1;
        int copies = -1;
        QPageLayout::Orientation orientation = QPageLayout::Landscape;
        Poll poll([&] {
            auto* dialog = qobject_cast<QAbstractPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return false;
            minPage = dialog->minPage();
            maxPage = dialog->maxPage();
            copies = dialog->printer()->copyCount();
            orientation = dialog->printer()->pageLayout().orientation();
            dialog->reject();
            return true;
        });
        tool(*window, QStringLiteral("Printer setup"))->trigger();
        QCOMPARE(minPage, 1);
        QCOMPARE(maxPage, 3);
        QCOMPARE(copies, 1);
        QCOMPARE(orientation, QPageLayout::Portrait);
    }

    void printsToAPdfWithAProgressWindow()
    {
        Catalogue catalogue(300);
        auto window = catalogue.completePreview();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stampa.pdf"));
        QPrinter& printer = catalogue.form.report().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QStringList texts;
        QString caption;
        Poll poll([&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<PrintProgressDialog*>(widget);
                if (progress && progress->isVisible()) {
                    caption = progress->windowTitle();
                    if (texts.isEmpty() || texts.last() != progress->text())
                        texts << progress->text();
                }
            }
            return false;
        });
        tool(*window, QStringLiteral("Print"))->trigger();

        QCOMPARE(pdfPageCount(TestEnvironment::readFile(path)), window->pageCount());
        QCOMPARE(caption, QStringLiteral("Printing progress"));
        QVERIFY(texts.size() > 3);
        const QRegularExpression form(QStringLiteral("^(\\d+)%  Completed$"));
        int last = -1;
        for (const QString& text : texts) {
            const QRegularExpressionMatch match = form.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            const int percent = match.captured(1).toInt();
            QCOMPARE(percent % 5, 0);
            QVERIFY(percent > last);
            last = percent;
        }
        // The preview keeps its pages.
        QCOMPARE(window->pageCount(), 21);
    }

    void cancelStopsThePrinting()
    {
        Catalogue catalogue(600);
        auto window = catalogue.completePreview();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stampa.pdf"));
        QPrinter& printer = catalogue.form.report().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        Poll poll([&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<PrintProgressDialog*>(widget);
                if (progress && progress->isVisible() && progress->shownPercent() >= 50) {
                    progress->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
                    return true;
                }
            }
            return false;
        });
        tool(*window, QStringLiteral("Print"))->trigger();
        const int printed = pdfPageCount(TestEnvironment::readFile(path));
        QVERIFY2(
            printed > 0 && printed < window->pageCount(), qPrintable(QString::number(printed)));
        QVERIFY(!catalogue.form.report().isBusy());
    }

    void savedPagesLoadBackAndPrintAsTheyAre()
    {
        Catalogue catalogue(30);
        auto window = catalogue.completePreview();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libri.trp"));
        QVERIFY(window->saveToFile(path));

        ReportPreview other(catalogue.form.report());
        other.show();
        QVERIFY(!tool(other, QStringLiteral("Print"))->isEnabled());
        QVERIFY(other.loadFromFile(path));
        expectSamePages(window->pages(), other.pages());
        QCOMPARE(other.currentPage(), 0);
        QCOMPARE(other.pageText(), QStringLiteral("Page 1 of 3"));
        QVERIFY(other.showsLoadedPages());
        QVERIFY(!tool(other, QStringLiteral("Printer setup"))->isEnabled());
        QVERIFY(tool(other, QStringLiteral("Print"))->isEnabled());

        // Printed as they are: the catalogue has changed since.
        addPlainBooks(catalogue.table, 30, 100);
        const QString pdf = dir.filePath(QStringLiteral("libri.pdf"));
        QPrinter& printer = catalogue.form.report().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        tool(other, QStringLiteral("Print"))->trigger();
        QCOMPARE(pdfPageCount(TestEnvironment::readFile(pdf)), 3);
    }

    void aDamagedFileIsRefusedAndThePagesStay()
    {
        Catalogue catalogue(30);
        auto window = catalogue.completePreview();
        window->showPage(1);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libri.trp"));
        QVERIFY(window->saveToFile(path));
        QByteArray bytes = TestEnvironment::readFile(path);
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
        TestEnvironment::writeFile(path, bytes);

        MessageBoxAnswer answer;
        QVERIFY(!window->loadFromFile(path));
        QVERIFY2(answer.text.contains(QStringLiteral("is damaged")), qPrintable(answer.text));
        QCOMPARE(window->pageCount(), 3);
        QCOMPARE(window->currentPage(), 1);
        QVERIFY(!window->showsLoadedPages());
        QVERIFY(tool(*window, QStringLiteral("Printer setup"))->isEnabled());
    }

    void aFileThatDoesNotExistSaysSo()
    {
        Catalogue catalogue(30);
        auto window = catalogue.completePreview();
        QTemporaryDir dir;
        MessageBoxAnswer answer;
        QVERIFY(!window->loadFromFile(dir.filePath(QStringLiteral("nessuno.trp"))));
        QCOMPARE(answer.text, QStringLiteral("File does not exist"));
        QCOMPARE(window->pageCount(), 3);
        QCOMPARE(window->currentPage(), 0);
    }
};

QTEST_MAIN(ReportPreviewTest)
#include "reportpreview_test.moc"
