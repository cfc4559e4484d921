#include "maingrid.h"

#include "bandedtableview.h"

namespace {

const LookColor darkBlue = LookColor::ofRgb(0, 0, 138);

GridLook look(const char* name, LookColor background, LookColor text, const char* font, int size,
    bool bold, int charset)
{
    GridLook l;
    l.name = QString::fromLatin1(name);
    l.background = background;
    l.text = text;
    l.fontFamily = QString::fromLatin1(font);
    l.pointSize = size;
    l.bold = bold;
    l.charset = charset;
    return l;
}

} // namespace

namespace MainGridStyles {

GridLook cxStyle1()
{
    return look("cxStyle1", LookColor::ofRole(QPalette::Midlight),
        LookColor::ofRole(QPalette::Text), "MS Sans Serif", 8, false, 1);
}

GridLook cxStyle3()
{
    return look("cxStyle3", LookColor::ofRole(QPalette::Midlight), LookColor::ofRgb(0, 128, 0),
        "Tahoma", 9, true, 0);
}

GridLook cxStyle10()
{
    return look(
        "cxStyle10", LookColor::ofRole(QPalette::Base), darkBlue, "HE_TERMINAL", 9, false, 0);
}

GridLook cxStyle13()
{
    return look(
        "cxStyle13", LookColor::ofRole(QPalette::ToolTipBase), darkBlue, "Tahoma", 9, true, 0);
}

GridLook cxStyle14()
{
    return look("cxStyle14", LookColor::ofRole(QPalette::ToolTipBase), darkBlue, "HE_TERMINAL", 9,
        false, 0);
}

} // namespace MainGridStyles

void configureMainGrid(BandedTableView& view)
{
    using namespace MainGridStyles;
    view.setObjectName(QStringLiteral("cxGrid1DBTableView1"));
    view.appearance().indicator = cxStyle1();
    view.appearance().footer = cxStyle3();

    GridLayout& layout = view.layout();
    const int first = layout.addBand({QString(), 339, true, Qt::AlignHCenter});
    const int details = layout.addBand({QStringLiteral("Dettagli"), 1239, false, Qt::AlignHCenter});

    struct ColumnDef
    {
        int band;
        int row;
        int position;
        Field field;
        const char* caption; // nullptr: the field's name
        int width;
        bool highlighted;
        bool shown;
    };
    const ColumnDef columns[] = {
        {first, 0, 0, Field::RecId, nullptr, 64, false, false},
        {first, 0, 1, Field::Barcode, "Codice", 119, true, true},
        {first, 0, 2, Field::Titolo, "Titolo", 220, true, true},
        {first, 1, 0, Field::Autore, "Autore", 118, false, true},
        {details, 0, 0, Field::AnnoPubblicazione, "Data pubblicazione", 78, false, true},
        {details, 0, 1, Field::Formato, "Formato", 104, false, true},
        {details, 0, 2, Field::NPagine, "N.Pagine", 79, false, true},
        {details, 0, 3, Field::Lingua, "Lingua", 97, false, true},
        {details, 0, 4, Field::Prezzo, "Prezzo", 69, false, true},
        {details, 0, 5, Field::Costo, "Costo", 65, false, true},
        {details, 0, 6, Field::NumScad, nullptr, 81, false, false},
        {details, 0, 7, Field::Note, nullptr, 747, false, true},
        {details, 1, 0, Field::Argomento, "Argomento", 182, false, true},
        {details, 1, 1, Field::Collana, "Collana", 176, false, true},
        {details, 1, 2, Field::Casaedi, "Casa editrice", 881, false, true},
    };
    for (const ColumnDef& def : columns) {
        GridColumn column;
        column.field = def.field;
        column.caption = def.caption ? QString::fromLatin1(def.caption) : QString();
        column.band = def.band;
        column.row = def.row;
        column.position = def.position;
        column.width = def.width;
        column.visible = def.shown;
        column.headerLook = cxStyle13();
        column.headerAlignment = Qt::AlignLeft;
        column.contentLook = def.highlighted ? cxStyle14() : cxStyle10();
        const bool number = def.field == Field::NPagine || def.field == Field::Prezzo
            || def.field == Field::Costo;
        column.alignment = number ? Qt::AlignRight : Qt::AlignLeft;
        column.footerLook = cxStyle3();
        column.footerAlignment = column.alignment;
        layout.addColumn(column);
    }
}
