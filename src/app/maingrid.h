#pragma once

#include "gridlook.h"

class BandedTableView;

// The styles of the main window's grid.
namespace MainGridStyles {
GridLook cxStyle1(); // row indicator and the view's own header
GridLook cxStyle3(); // footer cells of groups
GridLook cxStyle10(); // plain cells
GridLook cxStyle13(); // column headers
GridLook cxStyle14(); // highlighted cells: code and title
} // namespace MainGridStyles

// Gives the main window's grid view its two bands, its columns with their
// captions, widths, styles and alignments, and its appearance.
void configureMainGrid(BandedTableView& view);
