#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class PageStore;

// Saved report pages: a header of 8 magic bytes "TOMRPAGE", the format's
// version, the length and MD5 digest of the payload, then the payload: the
// paper size, the element styles and the encoded pages. Reading refuses a
// file of another kind, of another version, or damaged, with a message for
// the user.
namespace PageStoreFile {

inline constexpr quint32 currentVersion = 1;

QByteArray toBytes(const PageStore& pages);
// Replaces the store's content, or throws Error and leaves it as it was.
void fromBytes(QByteArrayView bytes, PageStore& pages, const QString& fileName);

// Throws Error when the file cannot be written; an earlier file stays whole.
void save(const PageStore& pages, const QString& path);
// Throws Error "File does not exist" for a missing file. The messages of
// failures are whole sentences, shown as they are.
void load(const QString& path, PageStore& pages);

} // namespace PageStoreFile
