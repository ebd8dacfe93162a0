#pragma once

#include "app/IOrvApplication.h"
#include "app/IOrvDeviceInfo.h"

#include <QString>

// Published by OrvApp_ModuleInit, null before it and after OrvApp_ModuleFinalize.
extern IOrvApplication* OrvApplication;
extern IOrvDeviceInfo* OrvDeviceInfo;
// "1.1.0" once started; the main window's caption shows it.
extern QString OrvAppVersion;

// sText without any "V", "v" or "." (case-sensitive, every occurrence).
QString StripVersion(const QString& sText);

// Sets up and publishes the identity once; a second call does nothing. Needs
// the application object, which knows the executable's path.
void OrvApp_ModuleInit();
void OrvApp_ModuleFinalize();
