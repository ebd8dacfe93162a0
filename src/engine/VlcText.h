#pragma once

#include <QString>

// The text without the blanks and control characters (everything up to
// U+0020) at either end. A start option that is nothing else is left out, and
// a location is recognised with them around it.
QString VlcTrimControls(const QString& sText);
