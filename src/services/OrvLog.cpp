#include "services/OrvLog.h"

#include "app/OrvModuleReport.h"
#include "services/TOrvLog_String.h"

#include <memory>

IOrvLog* OrvLog = nullptr;

namespace {
std::unique_ptr<TOrvLog_String> GLog;
}

void OrvLog_ModuleInit()
{
    if (GLog)
        return;
    GLog = std::make_unique<TOrvLog_String>();
    GLog->Add(QStringLiteral("Log initiated"));
    GLog->SetActive(true);
    OrvLog = GLog.get();
    OrvModuleReport_SetSink([](const QString& sMsg) {
        if (OrvLog)
            OrvLog->Add(sMsg);
    });
}

void OrvLog_ModuleFinalize()
{
    OrvModuleReport_SetSink(nullptr);
    OrvLog = nullptr;
    GLog.reset();
}

TOrvLog_String* OrvLog_Object()
{
    return GLog.get();
}
