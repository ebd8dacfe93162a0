#include "app/OrvStartup.h"

#include "app/OrvApp.h"
#include "app/OrvLib.h"
#include "app/OrvTypes.h"
#include "services/OrvLog.h"

void OrvStartup_ModuleInit()
{
    OrvLog_ModuleInit();
    OrvTypes_ModuleInit();
    OrvLib_ModuleInit();
    OrvApp_ModuleInit();
    // The storage paths need the identity, so they start after Orv.App.
}

void OrvStartup_ModuleFinalize()
{
    OrvApp_ModuleFinalize();
    OrvLib_ModuleFinalize();
    OrvTypes_ModuleFinalize();
    OrvLog_ModuleFinalize();
}
