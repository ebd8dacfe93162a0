#include "services/OrvSysInfo_Impl.h"

#include "services/OrvSysInfo.h"
#include "services/TOrvSysInfo.h"
#include "services/TOrvSysInfoPlatform_Qt.h"

namespace {
bool GInitialized = false;
std::unique_ptr<IOrvSysInfoPlatform> GPlatform;
std::unique_ptr<TOrvSysInfo> GSysInfo;

void ReadAndPublish(TOrvSysInfo::TRead ARead)
{
    try {
        GSysInfo->Read(*GPlatform, ARead);
    } catch (...) {
        OrvSysInfo = GSysInfo.get();
        throw;
    }
    OrvSysInfo = GSysInfo.get();
}
}

void OrvSysInfo_Impl_ModuleInit()
{
    OrvSysInfo_Impl_ModuleInit(std::make_unique<TOrvSysInfoPlatform_Qt>());
}

void OrvSysInfo_Impl_ModuleInit(std::unique_ptr<IOrvSysInfoPlatform> APlatform)
{
    if (GInitialized)
        return;
    GInitialized = true;
    GPlatform = std::move(APlatform);
    GSysInfo = std::make_unique<TOrvSysInfo>();
    ReadAndPublish(TOrvSysInfo::TRead::StartUp);
}

void OrvSysInfo_Impl_ModuleFinalize()
{
    OrvSysInfo = nullptr;
    GSysInfo.reset();
    GPlatform.reset();
    GInitialized = false;
}

void OrvSysInfo_Impl_ReadAgain()
{
    if (GSysInfo)
        ReadAndPublish(TOrvSysInfo::TRead::Again);
}
