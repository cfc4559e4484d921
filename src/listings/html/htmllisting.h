#pragma once

#include "cellstyle.h"
#include "listingtable.h"

#include <QString>

class BandedTableView;

// The page of what a banded grid shows, as a table of styled cells: a row of
// band headers, the two rows of column headers, two rows for each book, one
// for each group row and two for the footer that closes each group. Column
// boundaries come from the bands and the column headers as the grid lays
// them out, split at the group indents.
struct HtmlListing
{
    ListingTable table;
    StyleRegistry registry;
};

// Expands every group row of the view (they stay expanded), then lays out
// what it shows. Colours of the desktop scheme are those of the application's
// palette at the moment of the call. Throws "Incorrect union of cells" when
// the first column of a header line in the first band is no wider than the
// group indent.
HtmlListing buildHtmlListing(BandedTableView& view);

// Writes that page to path, replacing any file of that name; the page's
// title is the path. Nothing is written when the listing cannot be built.
void WriteHtmlListing(const QString& path, BandedTableView& view);
