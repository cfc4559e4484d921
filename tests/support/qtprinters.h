#pragma once

// Readable Qt values in the messages of failed GoogleTest checks. Every test
// source sees these declarations (the build includes this header first), so
// that all of them print Qt values the same way.

#include <QByteArray>
#include <QString>

#include <ostream>

void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QByteArray& bytes, std::ostream* out);
