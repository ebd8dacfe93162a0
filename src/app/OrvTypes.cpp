#include "app/OrvTypes.h"

#include "app/OrvModuleReport.h"

namespace {
bool GInitialized = false;
}

void OrvTypes_ModuleInit()
{
    if (GInitialized)
        return;
    GInitialized = true;
    OrvModuleReport(QStringLiteral("Orv.Types"));
}

void OrvTypes_ModuleFinalize()
{
    GInitialized = false;
}
