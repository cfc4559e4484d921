#include "ucxtranslate.h"

#include "componenttexts.h"

namespace {

// Each built-in English text of the components and the text shown in its
// place, in the order of registration. Some keys come more than once, in
// another letter case or for another place; they make one entry each.
constexpr InterfaceText interfaceTextTable[] = {
    // The tree of conditions of the filter builder, and the custom filter dialog.
    {u"AND", u"AND"},
    {u"OR", u"OR"},
    {u"NOT AND", u"NOT AND"},
    {u"NOT OR", u"NOT OR"},
    {u"Filter", u"Filtra"},
    {u"Add &Condition", u"Aggiungi una &Condizione"},
    {u"Add &Group", u"Aggiungi &Gruppo"},
    {u"&Remove Row", u"&Rimuovi Riga"},
    {u"Clear &All", u"Azzera tutto"},
    {u"press the button to add a new condition", u"premi qui per aggiungere una nuova condizione"},
    {u"applies to the following conditions", u"<Sottogruppo>"},
    {u"<root>", u"<Gruppo principale>"},
    {u"<empty>", u"<vuoto>"},
    {u"Can't build filter from source", u"Can't build filter from source"},
    {u"Custom Filter", u"Custom Filter"},
    {u"Invalid value", u"Valore non valido"},
    {u"Use", u"Usa"},
    {u"to represent any single character", u"per rappresentare ogni singolo carattere"},
    {u"to represent any series of characters", u"per rappresentare qualsiasi serie di caratteri"},
    {u"AND", u"AND"},
    {u"OR", u"OR"},
    {u"Show rows where:", u"Mostra le righe dove:"},
    // The filter builder dialog and its file dialogs.
    {u"Filter builder", u"Generazione filtro"},
    {u"untitled.flt", u"untitled.flt"},
    {u"Open an existing filter", u"Apri un filtro esistente"},
    {u"Save the active filter to file", u"Salva in un file il filtro attivo"},
    {u"&Save As...", u"&Salva come..."},
    {u"&Open...", u"A&pri..."},
    {u"&Apply", u"&Applica"},
    {u"OK", u"OK"},
    {u"Cancel", u"Annulla"},
    {u"flt", u"flt"},
    {u"Filters (*.flt)|*.flt", u"Filters ( *.flt )|*.flt"},
    // Filter operators, and the words of the filter as the filter bar writes it.
    {u"equals", u"e' uguale a"},
    {u"does not equal", u"e' diverso da"},
    {u"is less than", u"e' minore di"},
    {u"is less than or equal to", u"e' minore o uguale a"},
    {u"is greater than", u"e' maggiore di"},
    {u"is greater than or equal to", u"e' maggiore o uguale a"},
    {u"like", u"like"},
    {u"not like", u"not like"},
    {u"between", u"nel range tra"},
    {u"not between", u"fuori dal range tra"},
    {u"in", u"incluso"},
    {u"not in", u"non incluso"},
    {u"is yesterday", u"e' ieri"},
    {u"is today", u"e' oggi"},
    {u"is tomorrow", u"e' domani"},
    {u"is last week", u"is last week"},
    {u"is last month", u"is last month"},
    {u"is last year", u"is last year"},
    {u"is this week", u"is this week"},
    {u"is this month", u"is this month"},
    {u"is this year", u"is this year"},
    {u"is next week", u"is next week"},
    {u"is next month", u"is next month"},
    {u"is next year", u"is next year"},
    {u"and", u"AND"},
    {u"or", u"OR"},
    {u"not", u"not"},
    {u"blank", u"blank"},
    {u"is blank", u"e' vuoto"},
    {u"is not blank", u"non e' vuoto"},
    {u"begins with", u"comincia con"},
    {u"does not begin with", u"non comincia con"},
    {u"ends with", u"finisce con"},
    {u"does not end with", u"non finisce con"},
    {u"contains", u"contiene"},
    {u"does not contain", u"non contiene"},
    // Special entries of a column's filter list.
    {u"(All)", u"(Tutti)"},
    {u"(Custom...)", u"(Personalizza...)"},
    {u"(Blanks)", u"(Vuoti)"},
    {u"(NonBlanks)", u"(NonVuoti)"},
    // The grid.
    {u"You cannot create recursive levels", u"You cannot create recursive levels"},
    {u"Confirm", u"Confirm"},
    {u"Delete record?", u"Delete record?"},
    {u"Delete all selected records?", u"Delete all selected records?"},
    {u"<No data to display>", u"<Nessuna riga da mostrare>"},
    {u"Click here to add a new row", u"Click here to add a new row"},
    {u"<Filter is Empty>", u"<Nessun filtro>"},
    {u"Customization", u"Customization"},
    {u"Columns", u"Columns"},
    {u"Drag a column header here to group by that column",
        u"Per raggruppare per una colonna trascinarla qui.."},
    {u"Customize...", u"Filtra..."},
    {u"Click here to select visible columns", u"Click here to select visible columns"},
    {u"Bands", u"Bands"},
    {u"Click here to select visible bands", u"Click here to select visible bands"},
    {u"Rows", u"Rows"},
    {u"Missing an intermediary component!\r\nPlease add a %s component to the form.",
        u"Missing an intermediary component!\r\nPlease add a %s component to the form."},
    // The grid's export.
    {u"cxGrid does not exist", u"cxGrid does not exist"},
    {u"Component does not exist", u"Component does not exist"},
    {u"Import error", u"Import error"},
    {u"Grid view does not exist", u"Grid view does not exist"},
    {u"Active grid level does not exist", u"Active grid level does not exist"},
    {u"Can't create the export output file", u"Can't create the export output file"},
    // Context menus of column headers and footers.
    {u"None", u"Nessuno"},
    {u"Sort Ascending", u"In ordine ascendente"},
    {u"Sort Descending", u"In ordine discendente"},
    {u"Clear Sorting", u"Nessun ordinamento"},
    {u"Group By This Field", u"Raggruppa per questo campo"},
    {u"Remove from grouping", u"Togli questo ragguppamento"},
    {u"Group By Box", u"Visualizza/nascondi il box di raggrupp."},
    {u"Alignment", u"Allineamento"},
    {u"Align Left", u"Allinea a sinistra"},
    {u"Align Right", u"Allinea a destra"},
    {u"Align Center", u"Allinea al centro"},
    {u"Remove This Column", u"Togli questa colonna"},
    {u"Field Chooser", u"Aggiungi una colonna"},
    {u"Best Fit", u"Miglior allineamento"},
    {u"Best Fit (all columns)", u"Miglior allineamento delle colonne"},
    {u"Footer", u"Riga di chiusura a fine griglia (on/off)"},
    {u"Group Footers", u"Riga di chiusura a fine gruppi (on/off)"},
    {u"Sum", u"Somma"},
    {u"Min", u"Minimo"},
    {u"Max", u"Massimo"},
    {u"Count", u"Conteggio"},
    {u"Average", u"Media"},
    {u"None", u"Nessuno"},
};

} // namespace

std::span<const InterfaceText> interfaceTexts()
{
    return interfaceTextTable;
}

void ApplyInterfaceTexts()
{
    TextRegistry& registry = componentTexts();
    for (const InterfaceText& text : interfaceTextTable)
        registry.add(text.component, text.shown);
}
