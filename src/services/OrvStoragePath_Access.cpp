#include "services/OrvStoragePath_Access.h"

#include "services/OrvLog.h"
#include "services/OrvStoragePath.h"
#include "services/TOrvStorage_Path.h"

#include <memory>

namespace {
std::unique_ptr<TOrvStorage_Path> GStoragePath;
}

void OrvStoragePath_Access_ModuleInit()
{
    if (GStoragePath)
        return;
    if (OrvLog)
        OrvLog->Add(QStringLiteral("Orv.Storage.Path_Access.Module_Init enter"));
    GStoragePath = std::make_unique<TOrvStorage_Path>();
    OrvStoragePath = GStoragePath.get();
}

void OrvStoragePath_Access_ModuleFinalize()
{
    OrvStoragePath = nullptr;
    GStoragePath.reset();
}
