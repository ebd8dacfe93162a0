#include "app/OrvStartup.h"

void OrvStartup_ModuleInit()
{
}

void OrvStartup_ModuleFinalize()
{
}
