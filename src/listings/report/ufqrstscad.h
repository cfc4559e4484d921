#pragma once

#include "recordsource.h"
#include "report.h"
#include "reporttemplate.h"

#include <QWidget>

class CatalogueTable;

// The report form: it is never shown itself and only carries the template of
// the printed catalogue, QRSTScad, and the operation that previews it. The
// template lists every book of the catalogue table in the table's own order,
// one block of four lines per book, under a heading on the first page.
class TFFQRSTSCAD : public QWidget
{
    Q_OBJECT

public:
    explicit TFFQRSTSCAD(CatalogueTable& table, QWidget* parent = nullptr);
    ~TFFQRSTSCAD() override;

    // Makes the report's pages from ScadData and shows them in the print
    // preview; returns when the preview window closes. The preview is not
    // modal: other windows stay usable meanwhile.
    void PreviewReport();

    // The report at run time: printer choices kept for the run, busy mark,
    // the preview window while it is open.
    Report& report() { return m_report; }

    // Title band.
    ReportItem QRLTipo;
    ReportItem QRShape2;
    ReportItem QRLabel2;
    ReportItem QRLabel3;
    ReportItem QRLabel4;
    ReportItem QRLabel11;
    ReportItem QRLabel10;
    ReportItem QRLabel8;
    ReportItem QRLabel9;
    ReportItem QRLabel12;
    ReportItem QRLabel15;
    ReportItem QRLabel17;
    ReportItem QRLabel18;
    ReportItem QRShape1;
    // Detail band.
    ReportItem QRDBText3;
    ReportItem QRDBText1;
    ReportItem QRDBText4;
    ReportItem QRDBText6;
    ReportItem QRDBText7;
    ReportItem QRDBText9;
    ReportItem QRDBText2;
    ReportItem QRDBText8;
    ReportItem QRDBText11;
    ReportItem QRDBText12;
    ReportItem QRDBText13;
    ReportItem QRLabel5;
    ReportItem QRDBText18;

    ReportBand QRBand1;
    ReportBand QRBand2;
    ReportTemplate QRSTScad;

private:
    void setUpTitleBand();
    void setUpDetailBand();

    CatalogueRecordSource m_source;
    Report m_report;
};
