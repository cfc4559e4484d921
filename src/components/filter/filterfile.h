#pragma once

#include "filterexpression.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class FilterColumns;

// Filter files: UTF-8 text, one line per group or condition, nested groups
// indented. The first line names the format and its version:
//
//   TOMARIO filter 1
//   group and
//     condition titolo like "A%"
//     group or
//       condition prezzo between amount 10 amount 20.5
//       condition lingua in "ITALIANO" "INGLESE" blank
//     end
//   end
//
// Values: a text in double quotes (backslash escapes \\ \" \n \r \t and
// \uXXXX), "integer" or "amount" and a number, "date" and year-month-day, or
// "blank". Columns are named by their field names, in any letter case.
namespace FilterFile {

QByteArray write(const FilterExpression& filter);

// Throws Error("Can't build filter from source") when the text is damaged, of
// another version, or names a column that is not among columns, an unknown
// operator or values the column cannot take.
FilterExpression read(QByteArrayView bytes, const FilterColumns& columns);

// The file operations; a file that cannot be read or written gives the
// system's message.
FilterExpression load(const QString& path, const FilterColumns& columns);
void save(const QString& path, const FilterExpression& filter);

} // namespace FilterFile
