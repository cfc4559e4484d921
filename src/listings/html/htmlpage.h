#pragma once

#include <QByteArray>
#include <QString>

class ListingTable;
class StyleRegistry;

// Writes the table as one HTML page to path, replacing any file of that name
// only once the whole page is on disk; the title of the page is the path.
// Throws "Cannot create file "%s". %s" or "Stream write error"; the file is
// then left as it was.
void WriteHtmlPage(const QString& path, const ListingTable& table, const StyleRegistry& registry);

// The bytes of that page (windows-1252), with the given title.
QByteArray htmlPageBytes(
    const QString& title, const ListingTable& table, const StyleRegistry& registry);
