#pragma once

#include <QString>

// The program's handling of an error that reached a boundary it may not cross,
// such as Qt's event loop: a line "<sWhere>: <error text>" in the message log
// (when it is published) and the same as a warning on stderr. Call it from
// inside the catch block.
void OrvError_ReportCurrent(const QString& sWhere);
