#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// Replaces the file at path by bytes, or leaves it as it was: the bytes go to
// a new file in the same folder, which is flushed to disk and then renamed
// over the old one. Throws "Cannot create file "%s". %s" when the file cannot
// be made and "Stream write error" when writing fails.
void writeFileAtomically(const QString& path, QByteArrayView bytes);
// The same, for a file written in parts that follow each other.
void writeFileAtomically(const QString& path, const std::vector<QByteArray>& parts);

QString cannotCreateFileMessage(const QString& path, const QString& reason);
