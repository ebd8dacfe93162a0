#pragma once

#include "services/IOrvSysInfo.h"

// Published by the start-up of Orv.SysInfo.Impl (OrvSysInfo_Impl.h); null
// before it and after its finalization.
extern IOrvSysInfo* OrvSysInfo;
