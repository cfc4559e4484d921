#pragma once

#include <QString>

// Opens a local HTML file in headless Chromium and returns the document as
// the browser built it (its DOM, serialised). Throws std::runtime_error with
// a message saying what is wrong when Chromium is missing or fails.
namespace HeadlessBrowser {

QString dumpDom(const QString& htmlFile);

} // namespace HeadlessBrowser
