// tomario_html_listing FILE: writes the HTML listing of thirty books grouped
// by language, as the main window's grid shows them, to FILE. The picture in
// docs/ is that page in headless Chromium:
//   chromium --headless --no-sandbox --disable-gpu --window-size=1600,1000
//       --screenshot=docs/html-listing.png file://FILE
#include "htmllisting.h"

#include "application.h"
#include "bandedtableview.h"
#include "cataloguegenerator.h"
#include "cellstyle.h"
#include "maingrid.h"
#include "regionalsettings.h"

#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    rememberDefaultCellStyleColours(QApplication::palette());
    CatalogueTable table(RegionalSettings::italian());
    table.open();
    CatalogueGenerator::fill(table, 30, 4);
    BandedTableView view(table);
    configureMainGrid(view);
    view.groupBy(view.layout().columnOf(Field::Lingua));
    const QString path = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    WriteHtmlListing(path, view);
    std::printf("%s\n", qPrintable(path));
    return 0;
}
