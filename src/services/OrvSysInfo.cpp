#include "services/OrvSysInfo.h"

IOrvSysInfo* OrvSysInfo = nullptr;
