#include "app/OrvModuleReport.h"

namespace {
TOrvModuleReportSink& reportSink()
{
    static TOrvModuleReportSink sink;
    return sink;
}
}

void OrvModuleReport_SetSink(TOrvModuleReportSink sink)
{
    reportSink() = std::move(sink);
}

void OrvModuleReport(const QString& sUnitName)
{
    if (reportSink())
        reportSink()(sUnitName + QStringLiteral(".Module_Init enter"));
}
