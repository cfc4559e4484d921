#pragma once

#include <QIcon>

// The pictures of the preview window's tool buttons, drawn here so that they
// look the same on every desktop.
enum class PreviewIcon {
    ZoomToFit,
    Zoom100,
    ZoomToWidth,
    FirstPage,
    PreviousPage,
    NextPage,
    LastPage,
    PrinterSetup,
    Print,
    Save,
    Load,
};

QIcon previewIcon(PreviewIcon which);
