#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Text forms of numbers as the catalogue shows, edits and stores them.
namespace ValueText {

// The amount pattern "######0.00": at least one integer digit, exactly two
// decimals rounded half away from zero, no grouping, a "-" before a negative
// value. Returns the number of bytes written.
int formatAmount(double value, char decimalSeparator, char* out);
inline constexpr int maxFormattedAmountSize = 400;
QString formatAmount(double value, QChar decimalSeparator);

int formatInteger(qint32 value, char* out);

// A whole number in decimal with an optional sign, within 32 bits.
std::optional<qint32> parseInteger(QStringView text);
// A decimal number written with the given separator, with an optional sign and
// exponent; no grouping. Infinite results are refused.
std::optional<double> parseAmount(QStringView text, QChar decimalSeparator);

} // namespace ValueText
