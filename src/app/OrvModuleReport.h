#pragma once

#include <QString>
#include <functional>

// Module start-ups report themselves with a line "<unit>.Module_Init enter".
// The message log lives a layer above this one, so it installs itself here as
// the sink when it is published and removes itself at finalization; until then
// reports are dropped.
using TOrvModuleReportSink = std::function<void(const QString& sMsg)>;

void OrvModuleReport_SetSink(TOrvModuleReportSink sink);
void OrvModuleReport(const QString& sUnitName);
