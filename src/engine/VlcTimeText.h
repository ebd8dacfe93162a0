#pragma once

#include <QString>

// A media time (ms) as text through a pattern: "dd", "hh", "mm", "ss" and "ms"
// (any letter case) become days, hours, minutes, seconds and milliseconds, each
// with at least two digits. Negative times count as 0; days appear only through
// "dd" and are otherwise dropped.
QString MsToTimeStr(const QString& sFmt, qint64 ms);
// Decimal digits, with a leading "0" below 10: 7 -> "07", 123 -> "123".
QString TwoDigitStr(quint16 value);
