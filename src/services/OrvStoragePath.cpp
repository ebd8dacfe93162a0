#include "services/OrvStoragePath.h"

#include "services/OrvStoragePath_Access.h"

IOrvStoragePath* OrvStoragePath = nullptr;

void OrvStoragePath_ModuleInit()
{
    if (!OrvStoragePath)
        OrvStoragePath_Access_ModuleInit();
}

void OrvStoragePath_ModuleFinalize()
{
    OrvStoragePath = nullptr;
}
