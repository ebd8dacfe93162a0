#pragma once

#include <memory>

class IOrvSysInfoPlatform;
class TOrvSysInfo;

// Creates the system information object once, reads Qt's platform services
// into it and publishes it in OrvSysInfo. Publishing happens even when a query
// throws; the error then goes on. A second call does nothing.
void OrvSysInfo_Impl_ModuleInit();
// The same with the platform given, which later reads use as well.
void OrvSysInfo_Impl_ModuleInit(std::unique_ptr<IOrvSysInfoPlatform> APlatform);
void OrvSysInfo_Impl_ModuleFinalize();

// Reads the platform again into the process-wide object and publishes it
// again; does nothing before the start-up or after the finalization.
void OrvSysInfo_Impl_ReadAgain();
