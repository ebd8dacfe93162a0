#include "app/OrvStartup.h"

#include "app/OrvApp.h"
#include "app/OrvLib.h"
#include "app/OrvTypes.h"
#include "services/OrvLog.h"
#include "services/OrvStoragePath.h"
#include "services/OrvStoragePath_Access.h"
#include "services/OrvSysInfo_Impl.h"

void OrvStartup_ModuleInit()
{
    OrvSysInfo_Impl_ModuleInit();
    OrvLog_ModuleInit();
    OrvTypes_ModuleInit();
    OrvLib_ModuleInit();
    OrvApp_ModuleInit();
    // The storage paths need the identity, so they start after Orv.App.
    OrvStoragePath_Access_ModuleInit();
    OrvStoragePath_ModuleInit();
}

void OrvStartup_ModuleFinalize()
{
    OrvStoragePath_ModuleFinalize();
    OrvStoragePath_Access_ModuleFinalize();
    OrvApp_ModuleFinalize();
    OrvLib_ModuleFinalize();
    OrvTypes_ModuleFinalize();
    OrvLog_ModuleFinalize();
    OrvSysInfo_Impl_ModuleFinalize();
}
