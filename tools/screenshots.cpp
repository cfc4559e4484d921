// tomario_screenshots DIR: draws the program's windows over a catalogue of
// thirty books and saves them as pictures in DIR.
#include "application.h"
#include "bandedgrid.h"
#include "bandedtableview.h"
#include "cataloguegenerator.h"
#include "dbcontrols.h"
#include "ffmain.h"
#include "gridfilter.h"
#include "ucxtranslate.h"
#include "udm1.h"
#include "ufmfscad.h"

#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

void save(QWidget& widget, const QString& path)
{
    widget.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

// A filter of two groups: Italian or English books, and a price between 10
// and 40 or a title that begins with "Il".
FilterExpression twoGroupFilter()
{
    FilterGroup languages {GroupOperator::Or, {}};
    languages.items.push_back(
        FilterCondition {Field::Lingua, FilterOperator::Equal, {QStringLiteral("ITALIANO")}});
    languages.items.push_back(
        FilterCondition {Field::Lingua, FilterOperator::Equal, {QStringLiteral("INGLESE")}});
    FilterGroup other {GroupOperator::Or, {}};
    other.items.push_back(FilterCondition {Field::Prezzo, FilterOperator::Between, {10.0, 40.0}});
    other.items.push_back(
        FilterCondition {Field::Titolo, FilterOperator::BeginsWith, {QStringLiteral("Il")}});
    FilterExpression filter;
    filter.root.items.push_back(languages);
    filter.root.items.push_back(other);
    return filter;
}

int main(int argc, char** argv)
{
    ApplyInterfaceTexts();
    Application app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    TDM1::Options options;
    options.executablePath = QDir(dir).filePath(QStringLiteral("Tomario"));
    options.settings = RegionalSettings::italian();
    TDM1 dm(options);
    dm.ScadData.open();
    CatalogueGenerator::fill(dm.ScadData, 30, 4);

    TFFMAIN window(dm);
    window.resize(1280, 800);
    window.show();
    BandedTableView& view = *window.cxGrid1DBTableView1;
    view.groupBy(view.layout().columnOf(Field::Lingua));
    view.expandAll();
    for (int g = 0; g < view.groupCount(); ++g) {
        if (view.groupText(g).endsWith(QStringLiteral("INGLESE")))
            view.setExpanded(g, false);
    }
    dm.ScadData.moveTo(3);
    window.cxGrid1->setFocus();
    // The entry dialog in insert mode, a book half typed.
    TFMFSCAD entry(dm.ScadData);
    QTimer::singleShot(200, [&] {
        save(window, QDir(dir).filePath(QStringLiteral("main-window.png")));
        view.ungroup(view.layout().columnOf(Field::Lingua));
        window.cxGrid1->filter().setFilter(twoGroupFilter());
        QTimer::singleShot(200, [&] {
            save(window, QDir(dir).filePath(QStringLiteral("grid-filter.png")));
            entry.EditMode = TFMFSCAD::emInsert;
            entry.show();
            entry.EBarcode->setText(QStringLiteral("978-88-452-0772-4"));
            entry.ETitolo->setText(QStringLiteral("IL NOME DELLA ROSA"));
            entry.EAutore->setText(QStringLiteral("UMBERTO ECO"));
            entry.ECasaEdi->setText(QStringLiteral("BOMPIANI"));
            entry.EArgomento->setText(QStringLiteral("ROMANZO STORICO"));
            entry.EDPubblica->setDate(QDate(1980, 9, 30));
            entry.ENPagine->setText(QStringLiteral("503"));
            entry.CBFormato->setCurrentIndex(0);
            entry.MENote->setNotes(QStringLiteral(
                "Prima edizione nella collana.\r\nCopertina rigida, sovraccoperta un po' consumata."));
            entry.ELingua->setFocus();
            entry.ELingua->setText(QStringLiteral("ITAL"));
        });
        QTimer::singleShot(600, [&] {
            save(entry, QDir(dir).filePath(QStringLiteral("entry-dialog.png")));
            entry.Button2Click();
            app.quit();
        });
    });
    return app.exec();
}
