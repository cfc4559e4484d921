#include "ufqrstscad.h"

#include "catalogtable.h"

namespace {

const ReportColour grey = ReportColour::rgb(128, 128, 128);
const ReportColour black = ReportColour::windowText();

ReportFont courier(double pointSize, bool bold = false, bool underline = false)
{
    ReportFont f;
    f.family = QStringLiteral("Courier New");
    f.pointSize = pointSize;
    f.bold = bold;
    f.underline = underline;
    return f;
}

struct Box
{
    double left;
    double top;
    double width;
    double height;
};

ReportItem captionItem(const QString& name, const QString& text, Box box, ReportFont font,
    ReportColour colour, bool fitsText = false, ReportAlignment alignment = ReportAlignment::Left)
{
    ReportItem item;
    item.name = name;
    item.kind = ReportItemKind::Caption;
    item.text = text;
    item.left = box.left;
    item.top = box.top;
    item.width = box.width;
    item.height = box.height;
    item.font = font;
    item.colour = colour;
    item.alignment = alignment;
    item.fitsText = fitsText;
    return item;
}

ReportItem dataItem(const QString& name, const QString& field, Box box, ReportFont font)
{
    ReportItem item;
    item.name = name;
    item.kind = ReportItemKind::Data;
    item.fieldName = field;
    item.left = box.left;
    item.top = box.top;
    item.width = box.width;
    item.height = box.height;
    item.font = font;
    item.colour = black;
    return item;
}

ReportItem lineItem(const QString& name, Box box)
{
    ReportItem item;
    item.name = name;
    item.kind = ReportItemKind::Line;
    item.left = box.left;
    item.top = box.top;
    item.width = box.width;
    item.height = box.height;
    item.colour = grey;
    item.opaque = false;
    item.lineWidth = 2;
    return item;
}

} // namespace

TFFQRSTSCAD::TFFQRSTSCAD(CatalogueTable& table, QWidget* parent)
    : QWidget(parent)
    , m_source(table)
    , m_report(QRSTScad, m_source)
{
    setObjectName(QStringLiteral("FFQRSTSCAD"));
    setWindowTitle(QStringLiteral("STAMPA LIBRI"));
    setUpTitleBand();
    setUpDetailBand();

    QRSTScad.title = QStringLiteral("STAMPA LIBRI");
    QRSTScad.page = PageSetup {}; // A4 portrait, 10 mm margins all round
    QRSTScad.printIfEmpty = true;
    QRSTScad.titleBand = &QRBand1;
    QRSTScad.detailBand = &QRBand2;
}

TFFQRSTSCAD::~TFFQRSTSCAD() = default;

void TFFQRSTSCAD::setUpTitleBand()
{
    QRLTipo = captionItem(QStringLiteral("QRLTipo"), QStringLiteral("STAMPA LIBRI: Totale"),
        {0.00, 9.26, 200.29, 5.03}, courier(12, true), black, false, ReportAlignment::Centre);
    QRShape2 = lineItem(QStringLiteral("QRShape2"), {0.00, 14.82, 190.76, 2.38});
    QRLabel2 = captionItem(QStringLiteral("QRLabel2"), QStringLiteral("Codice"),
        {0.53, 16.93, 31.49, 4.50}, courier(8), grey);
    QRLabel3 = captionItem(QStringLiteral("QRLabel3"), QStringLiteral("TITOLO"),
        {34.40, 16.93, 12.44, 4.50}, courier(8, false, true), grey);
    QRLabel4 = captionItem(QStringLiteral("QRLabel4"), QStringLiteral("ARGOMENTO"),
        {154.52, 16.93, 16.93, 4.50}, courier(8), grey, true);
    QRLabel11 = captionItem(QStringLiteral("QRLabel11"), QStringLiteral("Autore"),
        {34.40, 21.70, 12.44, 4.50}, courier(8), grey);
    QRLabel10 = captionItem(QStringLiteral("QRLabel10"), QStringLiteral("Lingua"),
        {124.88, 21.70, 17.20, 4.50}, courier(8), grey);
    QRLabel8 = captionItem(QStringLiteral("QRLabel8"), QStringLiteral("COLLANA"),
        {154.52, 21.70, 13.23, 4.50}, courier(8), grey, true);
    QRLabel9 = captionItem(QStringLiteral("QRLabel9"), QStringLiteral("Data pub."),
        {124.88, 25.93, 16.93, 4.50}, courier(8), grey, true);
    QRLabel12 = captionItem(QStringLiteral("QRLabel12"), QStringLiteral("Formato"),
        {34.40, 26.19, 27.25, 4.50}, courier(8), grey);
    QRLabel15 = captionItem(QStringLiteral("QRLabel15"), QStringLiteral("N.Pagine"),
        {71.97, 26.19, 15.08, 4.50}, courier(8), grey, true);
    QRLabel17 = captionItem(QStringLiteral("QRLabel17"), QStringLiteral("Prezzo"),
        {95.78, 26.19, 25.14, 4.50}, courier(8), grey);
    QRLabel18 = captionItem(QStringLiteral("QRLabel18"), QStringLiteral("CASA EDITRICE"),
        {154.52, 26.19, 24.34, 4.50}, courier(8), grey, true);
    QRShape1 = lineItem(QStringLiteral("QRShape1"), {0.00, 30.16, 190.76, 2.38});

    QRBand1.name = QStringLiteral("QRBand1");
    QRBand1.kind = ReportBandKind::Title;
    QRBand1.width = 189.97;
    QRBand1.height = 32.54;
    QRBand1.colour = Qt::white;
    QRBand1.items = {&QRLTipo, &QRShape2, &QRLabel2, &QRLabel3, &QRLabel4, &QRLabel11, &QRLabel10,
        &QRLabel8, &QRLabel9, &QRLabel12, &QRLabel15, &QRLabel17, &QRLabel18, &QRShape1};
}

void TFFQRSTSCAD::setUpDetailBand()
{
    QRDBText3 = dataItem(QStringLiteral("QRDBText3"), QStringLiteral("barcode"),
        {0.53, 0.00, 31.49, 4.50}, courier(8));
    QRDBText1 = dataItem(QStringLiteral("QRDBText1"), QStringLiteral("titolo"),
        {34.40, 0.00, 118.27, 4.50}, courier(8, true, true));
    QRDBText4 = dataItem(QStringLiteral("QRDBText4"), QStringLiteral("argomento"),
        {154.52, 0.00, 34.13, 4.50}, courier(8));
    QRDBText6 = dataItem(QStringLiteral("QRDBText6"), QStringLiteral("autore"),
        {34.40, 4.23, 86.52, 4.50}, courier(8, true));
    QRDBText7 = dataItem(QStringLiteral("QRDBText7"), QStringLiteral("lingua"),
        {124.88, 4.23, 27.78, 4.50}, courier(8));
    QRDBText9 = dataItem(QStringLiteral("QRDBText9"), QStringLiteral("collana"),
        {154.52, 4.23, 34.13, 4.50}, courier(8));
    QRDBText2 = dataItem(QStringLiteral("QRDBText2"), QStringLiteral("formato"),
        {34.40, 8.47, 33.60, 4.50}, courier(8));
    QRDBText8 = dataItem(QStringLiteral("QRDBText8"), QStringLiteral("npagine"),
        {71.97, 8.47, 15.08, 4.50}, courier(8));
    QRDBText11 = dataItem(QStringLiteral("QRDBText11"), QStringLiteral("prezzo"),
        {95.78, 8.47, 25.14, 4.50}, courier(8));
    QRDBText12 = dataItem(QStringLiteral("QRDBText12"), QStringLiteral("annopubblicazione"),
        {124.88, 8.47, 27.78, 4.50}, courier(8));
    QRDBText13 = dataItem(QStringLiteral("QRDBText13"), QStringLiteral("casaedi"),
        {154.52, 8.47, 34.13, 4.50}, courier(8));
    QRLabel5 = captionItem(QStringLiteral("QRLabel5"), QStringLiteral("NOTE:"),
        {21.70, 12.70, 9.53, 4.50}, courier(8), grey, true);
    QRDBText18 = dataItem(QStringLiteral("QRDBText18"), QStringLiteral("Note"),
        {34.40, 12.70, 154.25, 4.50}, courier(8));
    QRDBText18.stretches = true;

    QRBand2.name = QStringLiteral("QRBand2");
    QRBand2.kind = ReportBandKind::Detail;
    QRBand2.width = 189.97;
    QRBand2.height = 17.99;
    QRBand2.colour = Qt::white;
    QRBand2.items = {&QRDBText3, &QRDBText1, &QRDBText4, &QRDBText6, &QRDBText7, &QRDBText9,
        &QRDBText2, &QRDBText8, &QRDBText11, &QRDBText12, &QRDBText13, &QRLabel5, &QRDBText18};
}

void TFFQRSTSCAD::PreviewReport()
{
    m_report.preview();
}
