#pragma once

// The windows of the program name the fonts of the desktop they were designed
// on; these substitutions serve them with fonts of this system: "MS Sans
// Serif" and "Tahoma" by DejaVu Sans, "HE_TERMINAL" by DejaVu Sans Mono and
// "Courier New" by the metric-compatible Liberation Mono, so that printed
// lines break where they were designed to. The names themselves stay in the
// styles and the HTML page.
void installFontSubstitutions();
